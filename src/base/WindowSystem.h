#pragma once
// The window services that sending a text into a chat window needs: finding the
// chat client's windows by their texts and driving them like a user would.
// Window texts are UTF-8 and compared as Unicode text: a title may hold any
// character, not only those GBK can write. No Qt here: the send sequence runs
// on the logic layer against this interface, the X11 implementation lives in
// x11/WindowSystemX11.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vomra {

// An opaque window handle; 0 is no window.
using WindowHandle = std::uint64_t;

// A step that could not be carried out: the window vanished, the keyboard focus
// could not be given to it, the chat program did not take the text in time.
class WindowSystemError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A top-level window as a user sees it.
struct WindowInfo {
    WindowHandle handle = 0;
    std::string title;     // UTF-8
    std::string className; // the program's class (X11: the second part of WM_CLASS)
    long pid = 0;          // 0: not known
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Every top-level window, top-most first.
    virtual std::vector<WindowInfo> TopLevels() = 0;
    // The top-most top-level window whose whole text is `title`, or 0.
    virtual WindowHandle FindWindow(const std::string &title) = 0;
    // The first direct child of `parent` whose whole text is `text`, or 0.
    virtual WindowHandle FindChild(WindowHandle parent, const std::string &text) = 0;
    // The direct child of `window` containing (x, y) of its client area; the
    // window itself when the point is inside it but in no (enabled) child; 0 when
    // the point lies outside the window or there is no window.
    virtual WindowHandle ChildFromPoint(WindowHandle window, int x, int y, bool skipDisabled) = 0;
    // Whether any direct child of `window` has a text (a caption).
    virtual bool HasCaptionedChild(WindowHandle window) = 0;

    // Puts `text` (UTF-8) on the clipboard as plain text and inserts it at the
    // caret of `input`; returns once the program behind `input` has received
    // the whole text. Throws WindowSystemError.
    virtual void Paste(WindowHandle input, const std::string &text) = 0;
    // Presses and releases `button`. Throws WindowSystemError.
    virtual void Click(WindowHandle button) = 0;
    // Presses Enter in `input`. Throws WindowSystemError.
    virtual void PressEnter(WindowHandle input) = 0;
};

} // namespace vomra
