#include "x11/WindowSystemX11.h"

#include "x11/X11Session.h"

namespace vomra {

using x11::ErrorTrap;
using x11::PropertyData;

namespace x11 {

int passError(Display *, XErrorEvent *e)
{
    if (std::getenv("VOMRA_X11_DEBUG"))
        std::fprintf(stderr, "x11: error %d request %d.%d resource 0x%lx\n", e->error_code, e->request_code,
                     e->minor_code, e->resourceid);
    return 0;
}

} // namespace x11

TX11WindowSystem::TX11WindowSystem(std::function<void()> pumpEvents) : d(std::make_unique<Impl>())
{
    d->pumpEvents = std::move(pumpEvents);
    d->dpy = libX11.available() ? XOpenDisplay(nullptr) : nullptr;
    if (!d->dpy)
        return;
    Display *dpy = d->dpy;
    d->screen = DefaultScreen(dpy);
    d->root = RootWindow(dpy, d->screen);
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    d->xtest = libXtst.available() && XTestQueryExtension(dpy, &eventBase, &errorBase, &major, &minor);
    auto atom = [dpy](const char *name) { return XInternAtom(dpy, name, False); };
    d->clientListStacking = atom("_NET_CLIENT_LIST_STACKING");
    d->supportingWmCheck = atom("_NET_SUPPORTING_WM_CHECK");
    d->activeWindow = atom("_NET_ACTIVE_WINDOW");
    d->netSupported = atom("_NET_SUPPORTED");
    d->netWmName = atom("_NET_WM_NAME");
    d->utf8String = atom("UTF8_STRING");
    d->wmState = atom("WM_STATE");

    d->netWmPid = atom("_NET_WM_PID");
    d->sendStart = std::chrono::steady_clock::now();
}

TX11WindowSystem::~TX11WindowSystem() = default;

bool TX11WindowSystem::HasDisplay() const { return d->dpy != nullptr; }

void TX11WindowSystem::RestartClock()
{
    d->sendStart = std::chrono::steady_clock::now();
}

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
    d->giveFocus(input, d->activate(d->clientOf(input)));
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
    d->giveFocus(input, d->activate(d->clientOf(input)));
    d->keys({XK_Return});
}

} // namespace vomra
