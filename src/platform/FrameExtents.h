#pragma once
// The window manager's frame around a top-level window, known before the window
// is shown where the manager can tell it, so that a stored outer size can be
// turned into the inside size to ask for.

#include <QMargins>
#include <QPoint>

#include <optional>

class QWindow;

namespace vomra {

// Asks the window manager for the frame it will put round `window` (created,
// not yet shown) and waits up to `waitMs` for the answer. On X11 this is the
// _NET_REQUEST_FRAME_EXTENTS request, answered in _NET_FRAME_EXTENTS. Empty
// margins when there is no window manager, it does not answer, or the platform
// has no such request (the frame is then learnt once the window is on screen).
QMargins requestFrameExtents(QWindow *window, int waitMs = 300);

// Hands a move of `window` by the held left button to the window manager, as
// from `pressRoot`, the screen point where the button went down: the manager
// moves the window by the pointer's way from there. On X11 this is
// _NET_WM_MOVERESIZE with the pointer released to the manager. False when there
// is no manager that takes it (the caller then moves the window itself).
bool startManagerMove(QWindow *window, QPoint pressRoot);

// Where the X server has the top-left corner of `window`'s inside on the screen,
// asked of the server itself; nothing off X11 or while the window is not shown.
std::optional<QPoint> screenPosition(QWindow *window);

} // namespace vomra
