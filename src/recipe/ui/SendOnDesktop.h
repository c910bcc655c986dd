#pragma once
// The send labels' road on this desktop: the window titles from QOBR.Ini, the
// X11 window system, and the warning for a result.

#include "recipe/core/Send.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>

namespace vomra {

// Test hook: makes the window system a send works on (empty: this desktop's);
// a null one stands for a desktop without X, where the text is only copied.
std::function<std::unique_ptr<WindowSystem>()> &sendWindowSystemHook();

// kind 1 or 2; copyText puts the editor's selection on the clipboard and
// returns it; warn shows a warning box (title, text). The busy cursor shows
// while the send runs (at most the window system's one time limit).
SendResult sendOnDesktop(int kind, bool pressSend, const std::string &programFolder,
                         const std::function<QString()> &copyText,
                         const std::function<void(const QString &title, const QString &text)> &warn);

} // namespace vomra
