#pragma once
// Small pieces of driving an X display like a user, on a caller's Xlib
// connection: keys held down by the user are let go around our synthetic keys
// and clicks, and a window is picked with a cross-hair pointer.

#include <functional>
#include <vector>

// Xlib's own name for a connection, without Xlib's header and its macros.
using Display = struct _XDisplay;

namespace vomra {

// While it lives, the modifier keys (Shift, Control, Alt, Super, ...) that are
// held down are released through XTest; they are pressed again at its end, so
// a paste started from a hotkey with Shift still down is a plain Ctrl+V and
// the user's keys are as they were afterwards.
class ReleasedModifiers {
public:
    explicit ReleasedModifiers(Display *dpy);
    ~ReleasedModifiers();
    ReleasedModifiers(const ReleasedModifiers &) = delete;
    ReleasedModifiers &operator=(const ReleasedModifiers &) = delete;

private:
    Display *m_dpy;
    std::vector<unsigned char> m_released; // key codes
};

// Grabs the pointer with a cross-hair and waits for a button press: the
// child of the root window under a press of button 1, or 0 for another
// button, Escape or a grab that could not be had. `ready` runs once the
// grab holds.
unsigned long pickTopLevel(Display *dpy, const std::function<void()> &ready);

} // namespace vomra
