#pragma once
// The window services that sending a text into a chat window needs: finding the
// chat client's windows by their texts and driving them like a user would.
// Window texts are GBK. No Qt here: the send sequence runs on the logic layer
// against this interface, the X11 implementation lives in WindowSystemX11.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vomra {

// An opaque window handle; 0 is no window.
using WindowHandle = std::uint64_t;

// A step that could not be carried out: the window vanished, the keyboard focus
// could not be given to it, the chat program did not fetch the text in time.
class WindowSystemError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

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

    // Inserts the clipboard's text at the caret of `input`; returns once the
    // program behind `input` has fetched the text. Throws WindowSystemError.
    virtual void Paste(WindowHandle input) = 0;
    // Presses and releases `button`. Throws WindowSystemError.
    virtual void Click(WindowHandle button) = 0;
    // Presses Enter in `input`. Throws WindowSystemError.
    virtual void PressEnter(WindowHandle input) = 0;
};

} // namespace vomra
