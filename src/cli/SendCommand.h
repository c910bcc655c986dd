#pragma once
// vomra-cli send: what the command needs of the desktop, behind a hook so the
// command line can be tested without a display or a chat program.

#include "base/WindowSystem.h"

#include <functional>
#include <memory>
#include <string>

namespace vomra::cli {

struct SendDesktop {
    std::unique_ptr<WindowSystem> windows; // none: nothing can be found
    std::string whyNone;                   // then: why, for the error line
    // Before the command ends: hands the sent text to the desktop's clipboard
    // manager, so it stays on the clipboard; true when one took it.
    std::function<bool()> keepClipboard;
    // Lets the user click a window with a cross-hair pointer (`ready` runs once
    // the pointer is ours); 0 when cancelled or not possible.
    std::function<WindowHandle(const std::function<void()> &ready)> pick;
    // Starts the one time limit of the send anew (after a pick).
    std::function<void()> restartClock;
    // Without windows to send to (no X display): puts the text on the desktop's
    // clipboard and keeps it there until another program takes the clipboard
    // or a time limit passes; `placed` runs once the text is there. False when
    // there is no clipboard either.
    std::function<bool(const std::string &text, const std::function<void()> &placed)> clipboardOnly;
};

// Makes the desktop the command sends on; by default the X11 one.
std::function<SendDesktop()> &sendDesktopHook();

// The exit status of `vomra-cli send` beyond the common ones: a window was
// found but did not take the text within the time limit.
inline constexpr int kNotTaken = 3;
// No window can be sent to (no X display), so the text was left on the
// desktop's clipboard for the user to paste.
inline constexpr int kClipboardOnly = 4;

// How long the text stays served on a clipboard that nobody takes over.
inline constexpr int kServeClipboardMs = 120000;

} // namespace vomra::cli
