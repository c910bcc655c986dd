#!/usr/bin/env bash
# The real program under Xvfb: its window appears with its title, it stays up,
# and it exits cleanly when closed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/window.bash"
build=${VOMRA_BUILD:?}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Run a copy from a scratch folder: the program keeps QOBR.Ini beside itself.
cp "$build/src/app/vomra" "$work/"
openbox >/dev/null 2>&1 & wm=$!
trap 'kill $wm 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
"$work/vomra" & pid=$!
win=$(mainWindow) || {
  echo "smoke: the main window did not appear" >&2; kill $pid 2>/dev/null; exit 1; }
sleep 1
kill -0 $pid
import -window root "$work/shot.png"
[ -s "$work/shot.png" ]
# Close it the way a user does: Alt+F4 through the window manager.
if ! closeWithKeys "$win" $pid; then
  echo "smoke: vomra did not close" >&2; kill $pid; exit 1
fi
status=0; wait $pid || status=$?
[ $status -eq 0 ] || { echo "smoke: vomra exited with status $status" >&2; exit 1; }
echo "smoke: ok"
