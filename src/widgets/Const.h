#pragma once
// Shared enumerations of the widget library and the background event type.

#include "widgets/Canvas.h"

#include <functional>

class QWidget;

namespace vomra {

enum TGWAlignment { gwaLeftJustify = 0, gwaCenter = 1, gwaRightJustify = 2 };
enum TGWOutlineBorder { gwobNone = 0, gwobFlat = 1, gwobLowered = 2, gwobRaised = 3 };

// An owner's painter for a control whose AutoDrawBackground is off.
using TGWDrawBackgroundEvent = std::function<void(QWidget *Control, Canvas &ACanvas, const Rect &ARect)>;

} // namespace vomra
