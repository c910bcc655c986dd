#pragma once
// The window system of an X11 desktop: the chat client's windows are found by
// their names through the window manager's client list, and driven through
// XTest as a user would (activate, focus, Ctrl+V, click, Enter).
//
// Rules of this implementation:
// - Top-level windows: _NET_CLIENT_LIST_STACKING, top-most first, while a
//   window manager that publishes it is running; otherwise the children of the
//   root window, top-most first, each taken as the window carrying WM_STATE in
//   it or below it (the child itself when none does), mapped ones only.
// - A window's text: _NET_WM_NAME (UTF-8), else WM_NAME in whatever encoding
//   the server gives; compared as a whole with the GBK text in Unicode.
// - Children: the direct children from XQueryTree, top-most first.
// - The child at a point: the top-most direct child whose outer rectangle
//   (border included) holds the point. With skipDisabled a child counts as
//   disabled, and is passed over, when it is unmapped or when no program listens
//   to key presses or button presses in it. The window itself when the point
//   is inside it but in no such child; none when the point is outside it.
// - Every wait keeps the Qt event loop running (without user input), so the
//   chat program can fetch our clipboard meanwhile, and ends after a bounded time.
// VOMRA_X11_DEBUG=1 in the environment prints the windows looked at and the X
// errors met to stderr.

#include "platform/WindowSystem.h"

#include <memory>

namespace vomra {

class TX11WindowSystem final : public WindowSystem {
public:
    // How long one step may wait for the window manager or the chat program.
    static constexpr int kStepTimeoutMs = 3000;

    // Connects to $DISPLAY. Without a display every search finds nothing.
    TX11WindowSystem();
    ~TX11WindowSystem() override;
    TX11WindowSystem(const TX11WindowSystem &) = delete;
    TX11WindowSystem &operator=(const TX11WindowSystem &) = delete;

    bool HasDisplay() const;
    // Whether the paste can tell when the chat program has fetched the text:
    // true when this program's clipboard is the X selection of the same display.
    bool SeesClipboardRequests() const;

    WindowHandle FindWindow(const std::string &title) override;
    WindowHandle FindChild(WindowHandle parent, const std::string &text) override;
    WindowHandle ChildFromPoint(WindowHandle window, int x, int y, bool skipDisabled) override;
    bool HasCaptionedChild(WindowHandle window) override;
    void Paste(WindowHandle input) override;
    void Click(WindowHandle button) override;
    void PressEnter(WindowHandle input) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace vomra
