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
    std::function<void(const std::string &gbk)> setClipboard;
};

// Makes the desktop the command sends on; by default the X11 one.
std::function<SendDesktop()> &sendDesktopHook();

} // namespace vomra::cli
