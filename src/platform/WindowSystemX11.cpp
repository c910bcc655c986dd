#include "platform/WindowSystemX11.h"

#include "base/Gbk.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <poll.h>

#include <algorithm>
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

// Counts the requests for our clipboard's text that pass through Qt's X
// connection, by the resource base of the asking program.
class ClipboardRequests final : public QAbstractNativeEventFilter {
public:
    xcb_atom_t clipboard = 0;
    std::vector<xcb_atom_t> notText; // TARGETS, MULTIPLE, TIMESTAMP, SAVE_TARGETS
    std::uint32_t resourceMask = 0;
    std::vector<std::uint32_t> askers; // one entry per text request, in order

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_SELECTION_REQUEST)
            return false;
        const auto *request = reinterpret_cast<const xcb_selection_request_event_t *>(event);
        if (request->selection != clipboard ||
            std::find(notText.begin(), notText.end(), request->target) != notText.end())
            return false;
        askers.push_back(request->requestor & ~resourceMask);
        return false; // Qt answers it
    }
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
    std::unique_ptr<ClipboardRequests> requests;
    xcb_connection_t *qtConnection = nullptr;

    ~Impl()
    {
        if (requests && QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(requests.get());
        if (dpy)
            XCloseDisplay(dpy);
    }

    static void pump()
    {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

    // Polls `done` while the event loop keeps serving our clipboard; false
    // when it is still not true after `ms` milliseconds.
    template <typename F> bool waitUntil(F done, int ms)
    {
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            pump();
            if (done())
                return true;
            if (clock.elapsed() >= ms)
                return false;
            pollfd fd{ConnectionNumber(dpy), POLLIN, 0};
            ::poll(&fd, 1, 2);
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
            // A manager that ignores the request still leaves the focus check below.
            waitUntil([&] { return windowProperty(root, activeWindow) == client; }, kStepTimeoutMs);
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
            },
            kStepTimeoutMs);
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

    // Waits until the program behind `input` has asked for our clipboard's
    // text (after `before` requests). Another program asking (a clipboard
    // manager) counts only after a while, in case the chat program asks
    // through a second connection of its own.
    void waitForFetch(Window input, std::size_t before)
    {
        if (!requests) {
            // Our clipboard is not the X selection of this display (another Qt
            // platform): give the chat program a moment.
            waitUntil([] { return false; }, 300);
            return;
        }
        const std::uint32_t asker = static_cast<std::uint32_t>(input) & ~requests->resourceMask;
        QElapsedTimer clock;
        clock.start();
        const bool fetched = waitUntil(
            [&] {
                const auto &all = requests->askers;
                if (std::find(all.begin() + static_cast<long>(before), all.end(), asker) != all.end())
                    return true;
                return all.size() > before && clock.elapsed() > 500;
            },
            kStepTimeoutMs);
        if (!fetched)
            throw WindowSystemError("the chat program did not take the text");
        // Our answer went out on Qt's connection: make sure the server has it
        // before anything we send next on ours.
        std::free(xcb_get_input_focus_reply(qtConnection, xcb_get_input_focus(qtConnection), nullptr));
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

    // Qt's clipboard is the X selection only on its X11 platform.
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    d->qtConnection = x11->connection();
    d->requests = std::make_unique<ClipboardRequests>();
    d->requests->clipboard = static_cast<xcb_atom_t>(atom("CLIPBOARD"));
    for (const char *name : {"TARGETS", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS"})
        d->requests->notText.push_back(static_cast<xcb_atom_t>(atom(name)));
    d->requests->resourceMask = xcb_get_setup(d->qtConnection)->resource_id_mask;
    qGuiApp->installNativeEventFilter(d->requests.get());
}

TX11WindowSystem::~TX11WindowSystem() = default;

bool TX11WindowSystem::HasDisplay() const { return d->dpy != nullptr; }

bool TX11WindowSystem::SeesClipboardRequests() const { return d->requests != nullptr; }

WindowHandle TX11WindowSystem::FindWindow(const std::string &title)
{
    if (!d->dpy)
        return 0;
    const ErrorTrap trap(d->dpy);
    const std::string wanted = gbk::toUtf8(title);
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
    const std::string wanted = gbk::toUtf8(text);
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

void TX11WindowSystem::Paste(WindowHandle input)
{
    d->requireDisplay();
    const ErrorTrap trap(d->dpy);
    d->activate(d->clientOf(input));
    d->giveFocus(input);
    const std::size_t before = d->requests ? d->requests->askers.size() : 0;
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
    const bool onButton = d->waitUntil([&] { return d->inside(d->windowAt(cx, cy), button); }, kStepTimeoutMs);
    if (onButton) {
        XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
        XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
        XSync(dpy, False);
        // A window manager's click binding freezes the pointer until it replays
        // the press; a release delivered after we moved away would land outside.
        d->waitUntil([&] { return d->pointerFree(); }, kStepTimeoutMs);
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
