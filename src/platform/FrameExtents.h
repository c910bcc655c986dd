#pragma once
// The window manager's frame around a top-level window, known before the window
// is shown where the manager can tell it, so that a stored outer size can be
// turned into the inside size to ask for.

#include <QMargins>

class QWindow;

namespace vomra {

// Asks the window manager for the frame it will put round `window` (created,
// not yet shown) and waits up to `waitMs` for the answer. On X11 this is the
// _NET_REQUEST_FRAME_EXTENTS request, answered in _NET_FRAME_EXTENTS. Empty
// margins when there is no window manager, it does not answer, or the platform
// has no such request (the frame is then learnt once the window is on screen).
QMargins requestFrameExtents(QWindow *window, int waitMs = 300);

} // namespace vomra
