#pragma once
// The window system of an X11 desktop: the chat client's windows are found by
// their names through the window manager's client list, and driven through
// XTest as a user would (activate, focus, Ctrl+V, click, Enter).
//
// Rules of this implementation:
// - Top-level windows: _NET_CLIENT_LIST_STACKING, top-most first, while a
//   window manager that announces it in _NET_SUPPORTED or keeps it on the root
//   is running; otherwise (as under Xwayland's manager) the children of the
//   root window, top-most first, each taken as the window carrying WM_STATE in
//   it or below it (the child itself when none does), mapped ones only. The
//   rule itself is in X11TopLevels.h.
// - A window's text: _NET_WM_NAME (UTF-8), else WM_NAME in whatever encoding
//   the server gives; compared as a whole with the GBK text in Unicode.
// - Children: the direct children from XQueryTree, top-most first.
// - The child at a point: the top-most direct child whose outer rectangle
//   (border included) holds the point. With skipDisabled a child counts as
//   disabled, and is passed over, when it is unmapped or when no program listens
//   to key presses or button presses in it. The window itself when the point
//   is inside it but in no such child; none when the point is outside it.
// - The text goes on the clipboard through an owner of our own (X11Clipboard),
//   which offers plain text only. It counts as received when the program of
//   the input box has fetched the whole of it after our Ctrl+V; while it asks,
//   other programs' requests wait, so a clipboard keeper cannot take the
//   selection back in between. A program that asks through a connection of
//   its own counts after a second, when it has not taken the clipboard over
//   (as a keeper does).
// - Modifier keys the user holds are let go for our keys and clicks and
//   pressed again afterwards.
// - One time limit for the whole send, from construction (or RestartClock);
//   every wait runs the event pump the caller gave, so a program with an
//   event loop (the page's send) still paints meanwhile. No Qt here: the
//   command line drives the same code without one.
// VOMRA_X11_DEBUG=1 in the environment prints the windows looked at and the X
// errors met to stderr.

#include "base/WindowSystem.h"

#include <functional>
#include <memory>

namespace vomra {

class TX11WindowSystem final : public WindowSystem {
public:
    // How long a whole send may take.
    static constexpr int kSendTimeoutMs = 5000;

    // Connects to $DISPLAY. Without a display every search finds nothing.
    // `pumpEvents` runs again and again while a step waits for the desktop
    // (every few milliseconds): the caller's pending events, without user input.
    explicit TX11WindowSystem(std::function<void()> pumpEvents = {});
    ~TX11WindowSystem() override;
    TX11WindowSystem(const TX11WindowSystem &) = delete;
    TX11WindowSystem &operator=(const TX11WindowSystem &) = delete;

    bool HasDisplay() const;
    void RestartClock();
    // Lets the user click a window with a cross-hair pointer: its client
    // window, or 0. `ready` runs once the pointer is ours.
    WindowHandle PickWindow(const std::function<void()> &ready);
    // Hands the pasted text to the clipboard manager, if one runs; true when
    // it took it within `ms`.
    bool KeepClipboard(int ms);

    std::vector<WindowInfo> TopLevels() override;
    WindowHandle FindWindow(const std::string &title) override;
    WindowHandle FindChild(WindowHandle parent, const std::string &text) override;
    WindowHandle ChildFromPoint(WindowHandle window, int x, int y, bool skipDisabled) override;
    bool HasCaptionedChild(WindowHandle window) override;
    void Paste(WindowHandle input, const std::string &text) override;
    void Click(WindowHandle button) override;
    void PressEnter(WindowHandle input) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace vomra
