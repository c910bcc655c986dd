#!/usr/bin/env bash
# The real program under Xvfb: a recipe dragged onto another folder of the tree
# moves there, and with Shift held a second one is copied.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/window.bash"
build=${VOMRA_BUILD:?}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/src/app/vomra" "$work/"
mkdir -p "$work/Test" "$work/Other"
printf 'hello world\r\n' >"$work/Test/hello.Txt"
printf 'second\r\n' >"$work/Test/second.Txt"
openbox >/dev/null 2>&1 & wm=$!
trap 'kill $wm 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
"$work/vomra" & pid=$!
win=$(mainWindow) || { echo "recipe-drag: no main window" >&2; kill $pid; exit 1; }
sleep 1
eval "$(xdotool getwindowgeometry --shell "$win")"
row=22 # the tree's row height
# Rows from the top of the tree: Test, then Other (top-level folders in reverse
# name order); selecting Test opens it: Test, hello, second, Other.
tree_x=$((X + 76)) tree_y=$((Y + 253))
drag() { # from-row to-row [key held]
  xdotool mousemove $((tree_x + 30)) $((tree_y + $1 * row)) mousedown 1
  for _ in 1 2 3 4 5 6 7 8; do xdotool mousemove_relative -- 0 3; sleep 0.1; done
  [ -n "${3:-}" ] && xdotool keydown "$3"
  xdotool mousemove $tree_x $((tree_y + $2 * row)); sleep 0.3
  xdotool mousemove $((tree_x + 2)) $((tree_y + $2 * row + 1)); sleep 0.3
  xdotool mouseup 1
  [ -n "${3:-}" ] && xdotool keyup "$3"
  sleep 1
}
xdotool mousemove $tree_x $tree_y click 1
sleep 1
drag 1 3 # hello onto Other
[ -f "$work/Other/hello.Txt" ] && [ ! -e "$work/Test/hello.Txt" ] || {
  echo "recipe-drag: hello was not moved" >&2; ls -R "$work" >&2; kill $pid; exit 1; }
# Now: Test, second, Other, hello (Other opened with the moved recipe selected).
xdotool mousemove $tree_x $tree_y click 1
sleep 1
drag 1 2 shift # second onto Other, copied
[ -f "$work/Other/second.Txt" ] && [ -f "$work/Test/second.Txt" ] || {
  echo "recipe-drag: second was not copied" >&2; ls -R "$work" >&2; kill $pid; exit 1; }
kill $pid
echo "recipe-drag: ok"
