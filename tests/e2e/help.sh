#!/usr/bin/env bash
# The menu item "帮助" hands QOBR.CHM of the program folder to the desktop's
# opener (a stand-in xdg-open here that writes down what it was given), F1 does
# too, and an opener that fails is not reported.
set -euo pipefail
build=${VOMRA_BUILD:?}
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/bin"
cp "$build/src/app/vomra" "$build/src/app/QOBR.CHM" "$work/app/"
cat > "$work/bin/xdg-open" <<EOS
#!/bin/sh
printf '%s\n' "\$@" >> "$work/opened"
EOS
chmod +x "$work/bin/xdg-open"

source "$(dirname "${BASH_SOURCE[0]}")/lib/window.bash"

openbox >/dev/null 2>&1 & pids+=($!)
sleep 1
PATH="$work/bin:$PATH" "$work/app/vomra" & pids+=($!)
win=$(mainWindow) || { echo "help: the main window did not appear" >&2; exit 1; }
xdotool windowactivate --sync "$win"
# "帮助" is the sixth item of the left menu.
xdotool mousemove --window "$win" 72 $((61 + 24 * 5)) click 1
for _ in $(seq 50); do [ -s "$work/opened" ] && break; sleep 0.2; done
expected="file://$work/app/QOBR.CHM"
if [ "$(cat "$work/opened" 2>/dev/null)" != "$expected" ]; then
  echo "help: expected the opener to get $expected, it got: $(cat "$work/opened" 2>/dev/null)" >&2
  exit 1
fi
# F1 does the same, here on the drawing board page (menu item 3).
xdotool mousemove --window "$win" 72 $((61 + 24 * 2)) click 1
sleep 0.5
: > "$work/opened"
xdotool key --window "$win" F1
for _ in $(seq 50); do [ -s "$work/opened" ] && break; sleep 0.2; done
[ "$(cat "$work/opened")" = "$expected" ] || { echo "help: F1 did not open the help" >&2; exit 1; }
# An opener that fails (no viewer for the file): silent, and the program goes on.
printf '#!/bin/sh\nexit 1\n' > "$work/bin/xdg-open"
xdotool mousemove --window "$win" 72 $((61 + 24 * 5)) click 1
sleep 1
kill -0 "${pids[1]}" || { echo "help: vomra ended after the opener failed" >&2; exit 1; }
echo "help: ok"
