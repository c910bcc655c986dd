#!/usr/bin/env bash
# Pasting while nothing is on offer: a fresh X display has no owner of the
# clipboard or of the selection. Ctrl+V, Shift+Insert and the middle button go
# into every editable view of every page (reached with Tab, and by clicks into
# the big text views); the program must stay up, answer, and close normally.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/window.bash"
startInProgramFolder
cp "$root/assets/QOBR.Ini" "$work/"
cp -R "$root/assets/recipes/." "$work/"
fail() { echo "paste-empty: $*" >&2; tail -n 20 "$work/vomra.log" >&2; kill $pid 2>/dev/null; exit 1; }

"$work/vomra" >"$work/vomra.log" 2>&1 & pid=$!
win=$(mainWindow) || fail "no window"
xdotool windowactivate --sync "$win"
# Nobody owns the clipboard or the selection on this fresh display.

alive() { kill -0 $pid 2>/dev/null || fail "the program died ${1:-}"; }
click() { xdotool mousemove --window "$win" "$1" "$2" click "${3:-1}" 2>/dev/null || alive "at a click"; }
pasteKeys() { xdotool key ctrl+v; xdotool key shift+Insert; alive "at a paste key"; }

# Every focusable control of the page in turn, each offered the paste keys.
tabThrough() {
  for _ in $(seq 24); do
    xdotool key Tab
    pasteKeys
  done
}

# page: menu item (0: stay on the recipe page), then points of its text views.
pages=(
  "0 320 200"            # recipe editor
  "1 400 250"            # art font output
  "2 400 250"            # picture grinder output (same view, other column)
  "3 400 140"            # drawing board (grid)
)
for entry in "${pages[@]}"; do
  read -r item x y <<<"$entry"
  [ "$item" -gt 0 ] && click 72 $((61 + 24 * (item - 1)))
  sleep 0.3
  click "$x" "$y"; pasteKeys
  click "$x" "$y" 2
  tabThrough
  alive "on page $item"
done

# The drawing board's pen box and row count, then its text mode (the radio
# button "文本模式" at the top of its option column) and the text view.
for spot in "277 142" "272 202"; do click $spot; pasteKeys; click $spot 2; done
click 207 81
sleep 0.3
click 400 200; pasteKeys; click 400 200 2
alive "in the board's text mode"

# Still answering: closing through the window manager ends it with status 0.
# Tab put tabs into the recipe editor: its question on closing is answered 否.
closeDiscardingEdits "$win" $pid || fail "the program no longer answers"
status=0; wait $pid || status=$?
[ $status -eq 0 ] || fail "exit status $status"
echo "paste-empty: ok"
