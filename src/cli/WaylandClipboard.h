#pragma once
// The clipboard of a Wayland desktop, for a command-line program that has no
// window: a Wayland client serves its copy itself, so the text is there only
// while we run. Plain libwayland-client (the core protocol's data device), no
// toolkit.

#include <functional>
#include <string>

namespace vomra::cli {

// Whether a Wayland compositor is named in the environment.
bool waylandDesktop();

// Puts `utf8` on the Wayland clipboard as plain text and serves it until
// another program takes the clipboard over (a clipboard manager, the user's
// next copy) or `limitMs` pass; `placed` runs once the text is there. False
// when no compositor could be reached or it refused the copy.
bool serveWaylandClipboard(const std::string &utf8, int limitMs, const std::function<void()> &placed);

} // namespace vomra::cli
