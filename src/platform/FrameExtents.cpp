#include "platform/FrameExtents.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWindow>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace vomra {

namespace {

// _NET_FRAME_EXTENTS of the window: left, right, top, bottom; false while unset.
bool readExtents(Display *display, ::Window window, Atom extents, QMargins *out)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    const int status =
        XGetWindowProperty(display, window, extents, 0, 4, False, XA_CARDINAL, &type, &format, &count, &after, &data);
    bool found = false;
    if (status == Success && type == XA_CARDINAL && format == 32 && count == 4 && data) {
        // Format 32 properties come back as longs whatever their size on the wire.
        const auto *v = reinterpret_cast<const long *>(data);
        *out = QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]), static_cast<int>(v[3]));
        found = true;
    }
    if (data)
        XFree(data);
    return found;
}

// True when the running window manager lists `atom` among what it supports.
bool managerSupports(Display *display, Atom atom)
{
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", True);
    if (supported == None || atom == None)
        return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display, DefaultRootWindow(display), supported, 0, 4096, False, XA_ATOM, &type, &format,
                           &count, &after, &data) == Success &&
        type == XA_ATOM && format == 32 && data) {
        const auto *atoms = reinterpret_cast<const Atom *>(data);
        for (unsigned long i = 0; i < count && !found; ++i)
            found = atoms[i] == atom;
    }
    if (data)
        XFree(data);
    return found;
}

} // namespace

QMargins requestFrameExtents(QWindow *window, int waitMs)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!window || !x11 || !x11->display())
        return {};
    Display *display = x11->display();
    const auto id = static_cast<::Window>(window->winId());
    // Without a manager that answers there is nothing to wait for.
    const Atom request = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", True);
    if (!managerSupports(display, request))
        return {};
    const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    // An answer given for the window's earlier decoration (a frame since taken
    // off or put back) must not pass for the new one.
    XDeleteProperty(display, id, extents);

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = id;
    event.xclient.message_type = request;
    event.xclient.format = 32;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);

    QMargins frame;
    const QDeadlineTimer deadline(waitMs);
    while (!readExtents(display, id, extents, &frame)) {
        if (deadline.hasExpired())
            return {};
        QThread::msleep(5);
    }
    return frame;
}

bool startManagerMove(QWindow *window, QPoint pressRoot)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!window || !x11 || !x11->display())
        return false;
    Display *display = x11->display();
    const Atom moveResize = XInternAtom(display, "_NET_WM_MOVERESIZE", True);
    if (!managerSupports(display, moveResize))
        return false;
    constexpr long kMove = 8;          // _NET_WM_MOVERESIZE_MOVE
    constexpr long kFromProgram = 1;   // a normal application asks
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<::Window>(window->winId());
    event.xclient.message_type = moveResize;
    event.xclient.format = 32;
    event.xclient.data.l[0] = pressRoot.x();
    event.xclient.data.l[1] = pressRoot.y();
    event.xclient.data.l[2] = kMove;
    event.xclient.data.l[3] = Button1;
    event.xclient.data.l[4] = kFromProgram;
    // The button's implicit grab is ours until released; the manager needs it.
    XUngrabPointer(display, CurrentTime);
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
    return true;
}

std::optional<QPoint> screenPosition(QWindow *window)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!window || !window->handle() || !x11 || !x11->display())
        return std::nullopt;
    Display *display = x11->display();
    const auto id = static_cast<::Window>(window->winId());
    // While the manager takes the window in, it may pass through other places.
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, id, &attributes) || attributes.map_state != IsViewable)
        return std::nullopt;
    int x = 0;
    int y = 0;
    ::Window child = 0;
    if (!XTranslateCoordinates(display, id, DefaultRootWindow(display), 0, 0, &x, &y, &child))
        return std::nullopt;
    return QPoint(x, y);
}

} // namespace vomra
