#pragma once
// What the parts of the X11 window system share: the connection and its atoms,
// the error trap, our clipboard owner and the waits that serve it (and run the
// caller's event pump, where there is one). Internal to x11/.

#include "x11/WindowSystemX11.h"

#include "x11/X11Clipboard.h"
#include "x11/X11Drive.h"
#include "x11/XlibCalls.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vomra {

namespace x11 {

// Errors on our own connection are expected, never fatal: a chat window may
// close between two calls, a window manager that quit leaves ids of windows
// that are gone. Each step checks what it needs (focus held, text fetched,
// pointer on the button) instead. Xlib's handler is process-wide, so ours is
// set only around our own calls and the previous one put back.
int passError(Display *display, XErrorEvent *e);

class ErrorTrap {
public:
    explicit ErrorTrap(Display *dpy) : m_dpy(dpy)
    {
        XSync(m_dpy, False);
        m_previous = XSetErrorHandler(passError);
    }
    ~ErrorTrap()
    {
        XSync(m_dpy, False);
        XSetErrorHandler(m_previous);
    }
    ErrorTrap(const ErrorTrap &) = delete;
    ErrorTrap &operator=(const ErrorTrap &) = delete;

private:
    Display *m_dpy;
    XErrorHandler m_previous = nullptr;
};

struct PropertyData {
    Atom type = None;
    int format = 0;
    std::string bytes;
    unsigned long items = 0;
};

} // namespace x11

struct TX11WindowSystem::Impl {
    Display *dpy = nullptr;
    Window root = 0;
    int screen = 0;
    bool xtest = false;
    Atom clientListStacking = None, supportingWmCheck = None, activeWindow = None, netSupported = None,
         netWmName = None, utf8String = None, wmState = None, netWmPid = None;
    std::unique_ptr<X11Clipboard> clipboard;
    std::function<void()> pumpEvents;
    std::chrono::steady_clock::time_point sendStart = std::chrono::steady_clock::now();

    // The longest a window manager may take to activate a window before we
    // give the focus ourselves.
    static constexpr int kActivateMs = 1500;

    ~Impl()
    {
        clipboard.reset();
        if (dpy)
            XCloseDisplay(dpy);
    }

    static long long msSince(std::chrono::steady_clock::time_point t)
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t).count();
    }

    int remainingMs() const { return static_cast<int>(std::max<long long>(0, kSendTimeoutMs - msSince(sendStart))); }

    void pump()
    {
        if (clipboard)
            clipboard->serve(0);
        if (pumpEvents)
            pumpEvents();
    }

    // Polls `done` while our clipboard is served (and the caller's events run);
    // false when it is still not true when the send's time is up (or after
    // `capMs`, for a step that has a way on without it).
    template <typename F> bool waitUntil(F done, int capMs = kSendTimeoutMs)
    {
        const auto step = std::chrono::steady_clock::now();
        for (;;) {
            pump();
            if (done())
                return true;
            if (remainingMs() <= 0 || msSince(step) >= capMs)
                return false;
            pollfd fds[2] = {{ConnectionNumber(dpy), POLLIN, 0}, {clipboard ? clipboard->fd() : -1, POLLIN, 0}};
            ::poll(fds, 2, 2);
        }
    }

    std::optional<x11::PropertyData> property(Window w, Atom name, Atom type);

    std::vector<Window> windowList(Window w, Atom name, Atom type);

    std::optional<Window> windowProperty(Window w, Atom name);

    bool hasProperty(Window w, Atom name);

    // A window manager that keeps the EWMH lists is running (its check window
    // points at itself, so a list left behind by a manager that quit is ignored).
    bool ewmhManager();

    bool supports(Atom feature);

    std::vector<Window> children(Window w); // top-most first

    class ServerTree;
    // The window carrying WM_STATE at or below w, breadth first.
    Window clientBelow(Window w);

    std::vector<Window> topLevels();

    std::string text(Window w);

    // The top-level client window that holds w (w itself for a top-level).
    Window clientOf(Window w);

    Window focus();

    // Raises and activates `client`; true when the window manager was asked to
    // (it was not the active window already).
    bool activate(Window client);

    // Gives `input` the keyboard focus and returns once it has kept it over two
    // looks in a row: a window manager may move the focus to the frame just
    // after activating. Without a fresh activation one look that finds the
    // focus there is enough.
    void giveFocus(Window input, bool activated);

    void keys(std::initializer_list<KeySym> syms);

    // No grab holds the pointer: every button event we made has been delivered.
    bool pointerFree();

    // The deepest mapped window at a root point.
    Window windowAt(int x, int y);

    bool inside(Window w, Window ancestor);

    // Waits until the program behind `input` has received the whole text
    // (deliveries from `before` on); see X11ClipboardWatch.cpp.
    void waitForFetch(Window input, std::size_t before);

    void requireDisplay() const
    {
        if (!dpy)
            throw WindowSystemError("no X display");
        if (!xtest)
            throw WindowSystemError("the X server has no XTest extension");
    }
};

} // namespace vomra
