#pragma once
// Whether an X server answers at a $DISPLAY value, without Xlib: the program
// decides its Qt platform with it before anything X is loaded.

#include <string>
#include <string_view>

namespace vomra {

// ":N", ":N.S" and "unix:N" are tried by connecting to
// the server's local socket (in `socketDir`, or the abstract name Xwayland and
// Xorg also listen on); a display on another host counts as reachable, as
// only Xlib can tell more. Empty: none.
bool xDisplayReachable(std::string_view display, const std::string &socketDir = "/tmp/.X11-unix");

} // namespace vomra
