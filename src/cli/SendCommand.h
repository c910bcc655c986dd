#pragma once
// vomra-cli send: what the command needs of the desktop, behind a hook so the
// command line can be tested without a display or a chat program.

#include "platform/WindowSystem.h"

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
};

// Makes the desktop the command sends on; by default the X11 one.
std::function<SendDesktop()> &sendDesktopHook();

// The exit status of `vomra-cli send` beyond the common ones: a window was
// found but did not take the text within the time limit.
inline constexpr int kNotTaken = 3;

} // namespace vomra::cli
