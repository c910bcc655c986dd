#include "x11/X11Drive.h"
#include "x11/XlibCalls.h"

#include <X11/Xlib.h>

#include <X11/XKBlib.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <unistd.h>

namespace vomra {

ReleasedModifiers::ReleasedModifiers(Display *dpy) : m_dpy(dpy)
{
    char keys[32] = {};
    XQueryKeymap(dpy, keys);
    XModifierKeymap *map = XGetModifierMapping(dpy);
    if (!map)
        return;
    for (int i = 0; i < 8 * map->max_keypermod; ++i) {
        const KeyCode k = map->modifiermap[i];
        // Lock and Num Lock are states, not held keys.
        const int modifier = i / map->max_keypermod;
        if (!k || modifier == LockMapIndex)
            continue;
        const KeySym sym = XkbKeycodeToKeysym(dpy, k, 0, 0);
        if (sym == XK_Num_Lock || sym == XK_Scroll_Lock)
            continue;
        if ((keys[k / 8] & (1 << (k % 8))) == 0)
            continue;
        bool seen = false;
        for (KeyCode r : m_released)
            seen = seen || r == k;
        if (seen)
            continue;
        XTestFakeKeyEvent(dpy, k, False, CurrentTime);
        m_released.push_back(k);
    }
    XFreeModifiermap(map);
    XSync(dpy, False);
}

ReleasedModifiers::~ReleasedModifiers()
{
    for (KeyCode k : m_released)
        XTestFakeKeyEvent(m_dpy, k, True, CurrentTime);
    XSync(m_dpy, False);
}

unsigned long pickTopLevel(Display *dpy, const std::function<void()> &ready)
{
    const Window root = DefaultRootWindow(dpy);
    const Cursor cross = XCreateFontCursor(dpy, XC_crosshair);
    int status = GrabNotViewable;
    // Another program (a menu, a hotkey daemon) may hold the pointer a moment.
    for (int round = 0; round < 50 && status != GrabSuccess; ++round) {
        status = XGrabPointer(dpy, root, False, ButtonPressMask | ButtonReleaseMask, GrabModeSync, GrabModeAsync, root,
                              cross, CurrentTime);
        if (status != GrabSuccess)
            usleep(20000);
    }
    if (status != GrabSuccess) {
        XFreeCursor(dpy, cross);
        return None;
    }
    XGrabKeyboard(dpy, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    if (ready)
        ready();
    Window picked = None;
    for (bool done = false; !done;) {
        XAllowEvents(dpy, SyncPointer, CurrentTime);
        XEvent e;
        XMaskEvent(dpy, ButtonPressMask | KeyPressMask, &e);
        if (e.type == KeyPress) {
            done = XLookupKeysym(&e.xkey, 0) == XK_Escape;
        } else {
            picked = e.xbutton.button == Button1 ? e.xbutton.subwindow : None;
            done = true;
        }
    }
    // The release of the picking click stays with us, not with the window.
    XAllowEvents(dpy, AsyncPointer, CurrentTime);
    XEvent release;
    for (int round = 0; round < 50 && !XCheckMaskEvent(dpy, ButtonReleaseMask, &release); ++round)
        usleep(10000);
    XUngrabKeyboard(dpy, CurrentTime);
    XUngrabPointer(dpy, CurrentTime);
    XFreeCursor(dpy, cross);
    XSync(dpy, False);
    return picked;
}

} // namespace vomra
