#include "platform/WindowSystemX11.h"

#include "platform/X11Clipboard.h"
#include "platform/X11Input.h"

#include <QCoreApplication>
#include <QElapsedTimer>

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
#include <optional>
#include <vector>

namespace vomra {

namespace {

// Errors on our own connection are expected, never fatal: a chat window may
// close between two calls, a window manager that quit leaves ids of windows
// that are gone. Each step checks what it needs (focus held, text fetched,
// pointer on the button) instead. Xlib's handler is process-wide, so ours is
// set only around our own calls and the previous one put back.

int passError(Display *, XErrorEvent *e)
{
    if (std::getenv("VOMRA_X11_DEBUG"))
        std::fprintf(stderr, "x11: error %d request %d.%d resource 0x%lx\n", e->error_code, e->request_code,
                     e->minor_code, e->resourceid);
    return 0;
}

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

} // namespace

struct TX11WindowSystem::Impl {
    Display *dpy = nullptr;
    Window root = 0;
    int screen = 0;
    bool xtest = false;
    Atom clientListStacking = None, supportingWmCheck = None, activeWindow = None, netSupported = None,
         netWmName = None, utf8String = None, wmState = None;
    Atom netWmPid = None;
    std::unique_ptr<X11Clipboard> clipboard;
    QElapsedTimer sendClock;

    ~Impl()
    {
        clipboard.reset();
        if (dpy)
            XCloseDisplay(dpy);
    }

    static constexpr int kActivateMs = 1500;

    int remainingMs() const { return std::max<int>(0, kSendTimeoutMs - static_cast<int>(sendClock.elapsed())); }

    void pump()
    {
        if (clipboard)
            clipboard->serve(0);
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

    // Polls `done` while our clipboard is served (and the event loop runs);
    // false when it is still not true when the send's time is up (or after
    // `capMs`, for a step that has a way on without it).
    template <typename F> bool waitUntil(F done, int capMs = kSendTimeoutMs)
    {
        QElapsedTimer step;
        step.start();
        for (;;) {
            pump();
            if (done())
                return true;
            if (remainingMs() <= 0 || step.elapsed() >= capMs)
                return false;
            pollfd fds[2] = {{ConnectionNumber(dpy), POLLIN, 0}, {clipboard ? clipboard->fd() : -1, POLLIN, 0}};
            ::poll(fds, 2, 2);
        }
    }

    std::optional<PropertyData> property(Window w, Atom name, Atom type)
    {
        Atom actualType = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(dpy, w, name, 0, 1L << 20, False, type, &actualType, &format, &items, &after,
                               &data) != Success)
            return std::nullopt;
        if (actualType == None) {
            if (data)
                XFree(data);
            return std::nullopt;
        }
        PropertyData p;
        p.type = actualType;
        p.format = format;
        p.items = items;
        if (data) {
            const std::size_t unit = format == 8 ? 1 : format == 16 ? sizeof(short) : sizeof(long);
            p.bytes.assign(reinterpret_cast<const char *>(data), items * unit);
            XFree(data);
        }
        return p;
    }

    std::vector<Window> windowList(Window w, Atom name, Atom type)
    {
        std::vector<Window> out;
        if (auto p = property(w, name, type); p && p->format == 32 && p->type == type) {
            const auto *ids = reinterpret_cast<const unsigned long *>(p->bytes.data());
            out.assign(ids, ids + p->items);
        }
        return out;
    }

    std::optional<Window> windowProperty(Window w, Atom name)
    {
        const std::vector<Window> list = windowList(w, name, XA_WINDOW);
        if (list.empty())
            return std::nullopt;
        return list.front();
    }

    bool hasProperty(Window w, Atom name)
    {
        Atom actualType = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char *data = nullptr;
        const bool ok = XGetWindowProperty(dpy, w, name, 0, 0, False, AnyPropertyType, &actualType, &format, &items,
                                           &after, &data) == Success;
        if (data)
            XFree(data);
        return ok && actualType != None;
    }

    // A window manager that keeps the EWMH lists is running (its check window
    // points at itself, so a list left behind by a manager that quit is ignored).
    bool ewmhManager()
    {
        const auto check = windowProperty(root, supportingWmCheck);
        if (!check)
            return false;
        const auto self = windowProperty(*check, supportingWmCheck);
        return self && *self == *check;
    }

    bool supports(Atom feature)
    {
        const std::vector<Window> atoms = windowList(root, netSupported, XA_ATOM);
        return std::find(atoms.begin(), atoms.end(), feature) != atoms.end();
    }

    std::vector<Window> children(Window w) // top-most first
    {
        Window rootReturn = 0, parent = 0;
        Window *kids = nullptr;
        unsigned int n = 0;
        std::vector<Window> out;
        if (!XQueryTree(dpy, w, &rootReturn, &parent, &kids, &n))
            return out;
        out.assign(kids, kids + n);
        if (kids)
            XFree(kids);
        std::reverse(out.begin(), out.end());
        return out;
    }

    // The window carrying WM_STATE at or below w, breadth first.
    Window clientBelow(Window w)
    {
        std::vector<Window> level{w};
        for (int depth = 0; depth < 4 && !level.empty(); ++depth) {
            std::vector<Window> next;
            for (Window x : level) {
                if (hasProperty(x, wmState))
                    return x;
                for (Window c : children(x))
                    next.push_back(c);
            }
            level.swap(next);
        }
        return 0;
    }

    std::vector<Window> topLevels()
    {
        if (ewmhManager()) {
            std::vector<Window> list = windowList(root, clientListStacking, XA_WINDOW);
            std::reverse(list.begin(), list.end());
            return list;
        }
        std::vector<Window> out;
        for (Window child : children(root)) {
            XWindowAttributes a;
            if (!XGetWindowAttributes(dpy, child, &a) || a.map_state != IsViewable || a.override_redirect)
                continue;
            const Window client = clientBelow(child);
            out.push_back(client ? client : child);
        }
        return out;
    }

    std::string text(Window w)
    {
        if (auto p = property(w, netWmName, utf8String); p && p->type == utf8String && p->format == 8)
            return p->bytes;
        XTextProperty prop{};
        if (!XGetWMName(dpy, w, &prop) || !prop.value)
            return {};
        std::string out;
        char **list = nullptr;
        int count = 0;
        if (Xutf8TextPropertyToTextList(dpy, &prop, &list, &count) >= Success && list) {
            for (int i = 0; i < count; ++i)
                out += list[i];
            XFreeStringList(list);
        } else {
            out.assign(reinterpret_cast<const char *>(prop.value), prop.nitems);
        }
        XFree(prop.value);
        return out;
    }

    // The top-level client window that holds w (w itself for a top-level).
    Window clientOf(Window w)
    {
        Window current = w;
        for (int depth = 0; depth < 64; ++depth) {
            if (hasProperty(current, wmState))
                return current;
            Window rootReturn = 0, parent = 0;
            Window *kids = nullptr;
            unsigned int n = 0;
            if (!XQueryTree(dpy, current, &rootReturn, &parent, &kids, &n))
                throw WindowSystemError("the window is gone");
            if (kids)
                XFree(kids);
            if (parent == rootReturn || parent == 0)
                return current;
            current = parent;
        }
        return current;
    }

    Window focus()
    {
        Window f = 0;
        int revert = 0;
        XGetInputFocus(dpy, &f, &revert);
        return f;
    }

    void activate(Window client)
    {
        if (ewmhManager() && supports(activeWindow)) {
            if (windowProperty(root, activeWindow) == client)
                return;
            XEvent e{};
            e.xclient.type = ClientMessage;
            e.xclient.window = client;
            e.xclient.message_type = activeWindow;
            e.xclient.format = 32;
            e.xclient.data.l[0] = 2; // asked for by a pager-like tool: not refused as focus stealing
            e.xclient.data.l[1] = CurrentTime;
            XSendEvent(dpy, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
            XFlush(dpy);
            // A manager that ignores the request (focus stealing prevention)
            // still leaves the focus given directly below.
            waitUntil([&] { return windowProperty(root, activeWindow) == client; }, kActivateMs);
        } else {
            XRaiseWindow(dpy, client);
            XSync(dpy, False);
        }
    }

    // Gives `input` the keyboard focus and returns once it has kept it over two
    // looks in a row: a window manager may move the focus to the frame just
    // after activating.
    void giveFocus(Window input)
    {
        int held = 0;
        const bool ok = waitUntil(
            [&] {
                if (focus() == input)
                    return ++held >= 2;
                held = 0;
                XSetInputFocus(dpy, input, RevertToParent, CurrentTime);
                XSync(dpy, False);
                return false;
            });
        if (!ok)
            throw WindowSystemError("the input box did not take the keyboard focus");
    }

    void keys(std::initializer_list<KeySym> syms)
    {
        std::vector<KeyCode> codes;
        for (KeySym s : syms) {
            const KeyCode k = XKeysymToKeycode(dpy, s);
            if (!k)
                throw WindowSystemError("the keyboard has no key for the paste");
            codes.push_back(k);
        }
        const ReleasedModifiers released(dpy);
        for (KeyCode k : codes)
            XTestFakeKeyEvent(dpy, k, True, CurrentTime);
        for (auto k = codes.rbegin(); k != codes.rend(); ++k)
            XTestFakeKeyEvent(dpy, *k, False, CurrentTime);
        XSync(dpy, False);
    }

    // No grab holds the pointer: every button event we made has been delivered.
    bool pointerFree()
    {
        if (XGrabPointer(dpy, root, False, 0, GrabModeAsync, GrabModeAsync, None, None, CurrentTime) != GrabSuccess)
            return false;
        XUngrabPointer(dpy, CurrentTime);
        XSync(dpy, False);
        return true;
    }

    // The deepest mapped window at a root point.
    Window windowAt(int x, int y)
    {
        Window w = root;
        for (int depth = 0; depth < 64; ++depth) {
            int wx = 0, wy = 0;
            Window child = 0;
            if (!XTranslateCoordinates(dpy, root, w, x, y, &wx, &wy, &child) || child == None)
                break;
            w = child;
        }
        return w;
    }

    bool inside(Window w, Window ancestor)
    {
        for (int depth = 0; depth < 64 && w && w != root; ++depth) {
            if (w == ancestor)
                return true;
            Window rootReturn = 0, parent = 0;
            Window *kids = nullptr;
            unsigned int n = 0;
            if (!XQueryTree(dpy, w, &rootReturn, &parent, &kids, &n))
                return false;
            if (kids)
                XFree(kids);
            w = parent;
        }
        return false;
    }

    // Waits until the program behind `input` has received the whole text
    // (deliveries from `before` on). Other programs' requests wait meanwhile;
    // after a second they are served, and one that fetched the text and did
    // not take the clipboard over (a keeper does) counts: a chat program may
    // ask through a connection of its own.
    void waitForFetch(Window input, std::size_t before)
    {
        using namespace std::chrono;
        constexpr auto kOthersAfter = milliseconds(1000);
        constexpr auto kSettle = milliseconds(200);
        const unsigned long target = clipboard->clientOf(input);
        const auto keysAt = steady_clock::now();
        const bool fetched = waitUntil([&] {
            const auto &all = clipboard->deliveries();
            for (std::size_t i = before; i < all.size(); ++i)
                if (all[i].client == target)
                    return true;
            const auto now = steady_clock::now();
            if (now - keysAt < kOthersAfter)
                return false;
            clipboard->favour(0);
            const auto &takers = clipboard->takers();
            for (std::size_t i = before; i < all.size(); ++i)
                if (now - all[i].at >= kSettle &&
                    std::find(takers.begin(), takers.end(), all[i].client) == takers.end())
                    return true;
            return false;
        });
        clipboard->favour(0);
        if (!fetched)
            throw WindowSystemError("the chat program did not take the text in time");
    }

    void requireDisplay() const
    {
        if (!dpy)
            throw WindowSystemError("no X display");
        if (!xtest)
            throw WindowSystemError("the X server has no XTest extension");
    }
};

TX11WindowSystem::TX11WindowSystem() : d(std::make_unique<Impl>())
{
    d->dpy = XOpenDisplay(nullptr);
    if (!d->dpy)
        return;
    Display *dpy = d->dpy;
    d->screen = DefaultScreen(dpy);
    d->root = RootWindow(dpy, d->screen);
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    d->xtest = XTestQueryExtension(dpy, &eventBase, &errorBase, &major, &minor);
    auto atom = [dpy](const char *name) { return XInternAtom(dpy, name, False); };
    d->clientListStacking = atom("_NET_CLIENT_LIST_STACKING");
    d->supportingWmCheck = atom("_NET_SUPPORTING_WM_CHECK");
    d->activeWindow = atom("_NET_ACTIVE_WINDOW");
    d->netSupported = atom("_NET_SUPPORTED");
    d->netWmName = atom("_NET_WM_NAME");
    d->utf8String = atom("UTF8_STRING");
    d->wmState = atom("WM_STATE");

    d->netWmPid = atom("_NET_WM_PID");
    d->sendClock.start();
}

TX11WindowSystem::~TX11WindowSystem() = default;

bool TX11WindowSystem::HasDisplay() const { return d->dpy != nullptr; }

void TX11WindowSystem::RestartClock() { d->sendClock.restart(); }

WindowHandle TX11WindowSystem::PickWindow(const std::function<void()> &ready)
{
    if (!d->dpy)
        return 0;
    const ErrorTrap trap(d->dpy);
    const Window picked = pickTopLevel(d->dpy, ready);
    if (!picked)
        return 0;
    const Window client = d->clientBelow(picked);
    return client ? client : picked;
}

bool TX11WindowSystem::KeepClipboard(int ms)
{
    return d->clipboard && d->clipboard->handToManager(ms);
}

std::vector<WindowInfo> TX11WindowSystem::TopLevels()
{
    std::vector<WindowInfo> out;
    if (!d->dpy)
        return out;
    const ErrorTrap trap(d->dpy);
    for (Window w : d->topLevels()) {
        WindowInfo info;
        info.handle = w;
        info.title = d->text(w);
        XClassHint hint{};
        if (XGetClassHint(d->dpy, w, &hint)) {
            info.className = hint.res_class ? hint.res_class : "";
            if (hint.res_name)
                XFree(hint.res_name);
            if (hint.res_class)
                XFree(hint.res_class);
        }
        if (auto p = d->property(w, d->netWmPid, XA_CARDINAL); p && p->format == 32 && p->items == 1)
            info.pid = *reinterpret_cast<const long *>(p->bytes.data());
        out.push_back(std::move(info));
    }
    return out;
}

WindowHandle TX11WindowSystem::FindWindow(const std::string &title)
{
    if (!d->dpy)
        return 0;
    const ErrorTrap trap(d->dpy);
    const std::string &wanted = title;
    for (Window w : d->topLevels()) {
        if (std::getenv("VOMRA_X11_DEBUG"))
            std::fprintf(stderr, "x11: top-level 0x%lx '%s'\n", w, d->text(w).c_str());
        if (d->text(w) == wanted)
            return w;
    }
    return 0;
}

WindowHandle TX11WindowSystem::FindChild(WindowHandle parent, const std::string &text)
{
    if (!d->dpy || !parent)
        return 0;
    const ErrorTrap trap(d->dpy);
    const std::string &wanted = text;
    for (Window w : d->children(parent)) {
        if (std::getenv("VOMRA_X11_DEBUG"))
            std::fprintf(stderr, "x11: child 0x%lx '%s'\n", w, d->text(w).c_str());
        if (d->text(w) == wanted)
            return w;
    }
    return 0;
}

WindowHandle TX11WindowSystem::ChildFromPoint(WindowHandle window, int x, int y, bool skipDisabled)
{
    if (!d->dpy || !window)
        return 0;
    const ErrorTrap trap(d->dpy);
    XWindowAttributes a;
    const bool got = XGetWindowAttributes(d->dpy, window, &a);
    if (std::getenv("VOMRA_X11_DEBUG"))
        std::fprintf(stderr, "x11: 0x%lx is %dx%d (%d)\n", window, a.width, a.height, got);
    if (!got || x < 0 || y < 0 || x >= a.width || y >= a.height)
        return 0;
    constexpr long kInput = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask;
    for (Window child : d->children(window)) {
        XWindowAttributes c;
        if (!XGetWindowAttributes(d->dpy, child, &c))
            continue;
        const int outerW = c.width + 2 * c.border_width;
        const int outerH = c.height + 2 * c.border_width;
        if (x < c.x || y < c.y || x >= c.x + outerW || y >= c.y + outerH)
            continue;
        if (skipDisabled && (c.map_state == IsUnmapped || (c.all_event_masks & kInput) == 0))
            continue;
        return child;
    }
    return window;
}

bool TX11WindowSystem::HasCaptionedChild(WindowHandle window)
{
    if (!d->dpy || !window)
        return false;
    const ErrorTrap trap(d->dpy);
    for (Window w : d->children(window))
        if (!d->text(w).empty())
            return true;
    return false;
}

void TX11WindowSystem::Paste(WindowHandle input, const std::string &text)
{
    d->requireDisplay();
    const ErrorTrap trap(d->dpy);
    if (!d->clipboard)
        d->clipboard = std::make_unique<X11Clipboard>(DisplayString(d->dpy));
    if (!d->clipboard->ok() || !d->clipboard->own(text))
        throw WindowSystemError("the clipboard could not be had");
    d->activate(d->clientOf(input));
    d->giveFocus(input);
    // From here only the chat program is served; a keeper that took the
    // selection back after our change loses it again.
    d->clipboard->favour(d->clipboard->clientOf(input));
    if (!d->clipboard->reassert())
        throw WindowSystemError("the clipboard could not be had");
    const std::size_t before = d->clipboard->deliveries().size();
    d->keys({XK_Control_L, XK_v});
    d->waitForFetch(input, before);
}

void TX11WindowSystem::Click(WindowHandle button)
{
    d->requireDisplay();
    const ErrorTrap trap(d->dpy);
    Display *dpy = d->dpy;
    d->activate(d->clientOf(button));
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy, button, &a))
        throw WindowSystemError("the button is gone");
    int cx = 0, cy = 0;
    Window child = 0;
    XTranslateCoordinates(dpy, button, d->root, a.width / 2, a.height / 2, &cx, &cy, &child);

    Window rootReturn = 0, childReturn = 0;
    int px = 0, py = 0, wx = 0, wy = 0;
    unsigned int mask = 0;
    XQueryPointer(dpy, d->root, &rootReturn, &childReturn, &px, &py, &wx, &wy, &mask);

    XTestFakeMotionEvent(dpy, d->screen, cx, cy, CurrentTime);
    XSync(dpy, False);
    // The press and the release must both land in the button, not in a window
    // still lying over it while the manager raises ours.
    const bool onButton = d->waitUntil([&] { return d->inside(d->windowAt(cx, cy), button); });
    if (onButton) {
        const ReleasedModifiers released(dpy);
        XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
        XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
        XSync(dpy, False);
        // A window manager's click binding freezes the pointer until it replays
        // the press; a release delivered after we moved away would land outside.
        d->waitUntil([&] { return d->pointerFree(); });
    }
    XTestFakeMotionEvent(dpy, d->screen, px, py, CurrentTime);
    XSync(dpy, False);
    if (!onButton)
        throw WindowSystemError("the button is covered");
}

void TX11WindowSystem::PressEnter(WindowHandle input)
{
    d->requireDisplay();
    const ErrorTrap trap(d->dpy);
    d->activate(d->clientOf(input));
    d->giveFocus(input);
    d->keys({XK_Return});
}

} // namespace vomra
