#pragma once
// A QImage read in place as the grinder's plain RGB grid.

#include "art/core/Grind.h"
#include "art/core/MappedBitmap.h"

#include <QImage>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vomra {

// The picture in a 32-bit form whose low three bytes are R, G, B (the alpha byte
// is ignored by the grind, so both 32-bit kinds are kept as they are).
QImage grindableImage(QImage image);

// A view of a grindable image; the image must outlive it.
RgbView rgbView(const QImage &grindable);

} // namespace vomra
