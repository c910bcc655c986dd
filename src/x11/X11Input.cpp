// Driving windows as a user would: activation, keyboard focus and XTest keys and clicks.
#include "x11/X11Session.h"

namespace vomra {

using x11::ErrorTrap;
using x11::PropertyData;

Window TX11WindowSystem::Impl::focus()
{
    Window f = 0;
    int revert = 0;
    XGetInputFocus(dpy, &f, &revert);
    return f;
}

bool TX11WindowSystem::Impl::activate(Window client)
{
    if (ewmhManager() && supports(activeWindow)) {
        if (windowProperty(root, activeWindow) == client)
            return false;
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
        return true;
    }
    XRaiseWindow(dpy, client);
    XSync(dpy, False);
    return true;
}

// Gives `input` the keyboard focus and returns once it has kept it over two
// looks in a row: a window manager may move the focus to the frame just
// after activating.
void TX11WindowSystem::Impl::giveFocus(Window input, bool activated)
{
    int held = activated ? 0 : 1;
    const bool ok = waitUntil([&] {
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

void TX11WindowSystem::Impl::keys(std::initializer_list<KeySym> syms)
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
bool TX11WindowSystem::Impl::pointerFree()
{
    if (XGrabPointer(dpy, root, False, 0, GrabModeAsync, GrabModeAsync, None, None, CurrentTime) != GrabSuccess)
        return false;
    XUngrabPointer(dpy, CurrentTime);
    XSync(dpy, False);
    return true;
}

} // namespace vomra
