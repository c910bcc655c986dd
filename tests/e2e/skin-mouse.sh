#!/usr/bin/env bash
# The skinned window under a real window manager, driven at a person's pace
# (pointer steps 15 ms apart, no pauses between actions): a caption drag moves
# the window by exactly the drag and leaves the caption buttons working; a double
# click on the caption maximises and another restores; a skin put on from the
# classic look shows its active title bar; crossing the left edge into the
# recipe tree leaves the sizing cursor behind at the edge.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/window.bash"
build=${VOMRA_BUILD:?}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
probe=$build/tests/xprobe/vomra_cursorname
work=$(mktemp -d)
openbox >/dev/null 2>&1 & wm=$!
pid=
trap 'kill $pid $wm 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
cp "$build/src/app/vomra" "$work/"
cp -R "$root/assets/Theme" "$work/Theme"
ini() { printf '[\xbd\xe7\xc3\xe6\xb7\xbd\xb0\xb8]\r\n\xb7\xbd\xb0\xb8=%d\r\n' "$1" > "$work/QOBR.Ini"; }
fail() { echo "skin-mouse: $*" >&2; exit 1; }
step=0.015
[ -x "$probe" ] || fail "no cursor probe at $probe"

# The client window's place and size as the X server has it.
where() { xwininfo -id "$win" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                                     /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'; }
state() { xprop -id "$win" _NET_WM_STATE; }
# Waits up to 3 s for a shell condition.
until_() { for _ in $(seq 150); do eval "$1" && return 0; sleep 0.02; done; return 1; }
maximised() { state | grep -q MAXIMIZED_VERT; }
hidden() { state | grep -q HIDDEN; }
# A click: press and release one step apart at a point.
click() { xdotool mousemove "$1" "$2" sleep $step mousedown 1 sleep $step mouseup 1; }
# Drags from a point by dx,dy in six steps.
drag() {
  local x=$1 y=$2 dx=$3 dy=$4 args=()
  for i in 1 2 3 4 5 6; do args+=(sleep $step mousemove $((x + dx * i / 6)) $((y + dy * i / 6))); done
  xdotool mousemove "$x" "$y" sleep $step mousedown 1 "${args[@]}" sleep $step mouseup 1
}
start() {
  ini "$1"
  "$work/vomra" & pid=$!
  win=$(mainWindow) || fail "no window"
  read -r X Y W H < <(where)
}
# Graphite's buttons: 23 x 19 at y 5, their left edges 77, 52 and 27 from the right.
button() { echo $((X + W - $1 + 11)) $((Y + 14)); }

pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info:; }
# The title bar at x 200 (a middle tile, 20 into it), row 2 above the caption
# text, shows the active half of the theme's picture.
activeTitle() {
  sleep 0.3
  import -window root "$work/root.png"
  local shown active
  shown=$(pixel "$work/root.png" $((X + 200)) $((Y + 2)))
  active=$(pixel "$work/Theme/$1/TitleBar.bmp" 50 2)
  [ "$shown" = "$active" ] || fail "$2: title bar shows $shown, the active half is $active"
}

# 1. The first drag after the start moves by exactly the drag; the buttons then act.
start 2
read -r sw sh < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
[ "$X $Y" = "$(((sw - W) / 2)) $(((sh - H) / 2))" ] || fail "started at $X,$Y, not centred"
activeTitle Graphite "at start"
drag $((X + 300)) $((Y + 12)) 60 36
until_ '[ "$(where | cut -d" " -f1,2)" = "$((X + 60)) $((Y + 36))" ]' ||
  fail "a 60x36 drag from $X,$Y left the window at $(where | cut -d' ' -f1,2)"
read -r X Y W H < <(where)
# The widgets follow the pointer again: the recipe editor shows its text cursor.
xdotool mousemove $((X + 400)) $((Y + 300)) sleep $step mousemove $((X + 410)) $((Y + 310)) sleep 0.1
case $("$probe") in text|xterm|ibeam) ;; *) fail "cursor $("$probe") over the editor after a drag";; esac
click $(button 52)
until_ maximised || fail "maximise after a drag did nothing"
read -r X Y W H < <(where)
click $(button 52)
until_ '! maximised' || fail "restore after a drag did nothing"
read -r X Y W H < <(where)
drag $((X + 300)) $((Y + 12)) -40 20
until_ '[ "$(where | cut -d" " -f1,2)" = "$((X - 40)) $((Y + 20))" ]' || fail "the second drag went astray"
read -r X Y W H < <(where)
click $(button 77)
until_ hidden || fail "minimise after a drag did nothing"
xdotool windowactivate "$win" 2>/dev/null || xdotool windowmap "$win"
until_ '! hidden' || fail "did not come back from minimised"
read -r X Y W H < <(where)

# 2. A double click with 120 ms between the clicks maximises, another restores.
xdotool mousemove $((X + 300)) $((Y + 12)) sleep $step click 1 sleep 0.12 click 1
until_ maximised || fail "a double click with a 120 ms gap did not maximise"
read -r X Y W H < <(where)
xdotool mousemove $((X + 300)) $((Y + 12)) sleep $step click 1 sleep 0.12 click 1
until_ '! maximised' || fail "a second double click did not restore"
read -r X Y W H < <(where)

# 3. Cursors: the sizing cursor at the left edge, the tree's own one step inside.
xdotool mousemove $((X - 6)) $((Y + 300)) sleep $step mousemove $((X + 1)) $((Y + 300)) sleep 0.1
edge=$("$probe")
case $edge in *size*|*resize*) ;; *) fail "cursor $edge at the left edge";; esac
xdotool mousemove $((X + 8)) $((Y + 300)) sleep $step mousemove $((X + 40)) $((Y + 300)) sleep 0.1
inside=$("$probe")
case $inside in *size*|*resize*) fail "sizing cursor $inside over the tree";; esac

# The close button after all this ends the program.
read -r X Y W H < <(where)
click $(button 27)
for _ in $(seq 150); do kill -0 $pid 2>/dev/null || break; sleep 0.02; done
kill -0 $pid 2>/dev/null && fail "close did nothing"
wait $pid || fail "exit status $?"
pid=

# 4. A skin put on from the classic look, or over another skin, shows the active half of its title bar,
# keeps the outer 640 x 480 and saves it; the classic look again keeps it too.
stored() { iconv -f GBK -t UTF-8 < "$work/QOBR.Ini" | tr -d '\r' | sed -n "s/^$1=//p"; }
outer() {
  local l r t b
  IFS=', ' read -r l r t b < <(xprop -id "$win" _NET_FRAME_EXTENTS | sed 's/.*= //')
  read -r X Y W H < <(where)
  echo "$((W + l + r))x$((H + t + b))"
}
start 0
xdotool mousemove $((X + 87)) $((Y + 131)) sleep $step click 1     # menu item 界面方案
sleep 0.3
xdotool mousemove $((X + 547)) $((Y + 81)) sleep $step click --repeat 2 --delay 120 1   # 石墨
until_ '[ "$(where | cut -d" " -f3,4)" = "640 480" ]' || fail "the skin came on at $(where)"
sleep 0.5
read -r X Y W H < <(where)
[ "$(outer)" = 640x480 ] || fail "outer $(outer) in the skin"
[ "$(xprop -root _NET_ACTIVE_WINDOW | awk '{print $NF}')" = "$(printf '0x%x' "$win")" ] ||
  fail "the window manager does not report the window active"
activeTitle Graphite "classic to skin"
# One skin for another.
xdotool mousemove $((X + 493)) $((Y + 111)) sleep $step click --repeat 2 --delay 120 1   # 蓝色水晶
until_ '[ "$(pixel "$work/Theme/Glass/TitleBar.bmp" 50 2)" = "$(import -window root "$work/r.png"; pixel "$work/r.png" $((X + 200)) $((Y + 2)))" ]' ||
  fail "skin to skin: the new title bar is not shown active"
closeWithKeys "$win" $pid || fail "alt+F4 did not end the program"
wait $pid || fail "exit status $?"
pid=
[ "$(stored 宽度)x$(stored 高度)" = 640x480 ] || fail "stored $(stored 宽度)x$(stored 高度) from the skin"
[ "$(iconv -f GBK -t UTF-8 < "$work/QOBR.Ini" | tr -d '\r' | sed -n 's/^方案=//p')" = 1 ] || fail "the last skin worn is not saved"

# The classic item in the skinned window gives the frame back round the same outer box.
start 2
xdotool mousemove $((X + 90)) $((Y + 161)) sleep $step click 1     # menu item 界面方案
sleep 0.3
xdotool mousemove $((X + 408)) $((Y + 111)) sleep $step click --repeat 2 --delay 120 1   # 经典 Windows9x
until_ '[ "$(where | cut -d" " -f3)" != 640 ]' || fail "the classic look did not come back"
sleep 0.5
[ "$(outer)" = 640x480 ] || fail "outer $(outer) in the classic look"
closeWithKeys "$win" $pid || fail "alt+F4 did not end the program"
wait $pid || fail "exit status $?"
pid=
[ "$(stored 宽度)x$(stored 高度)" = 640x480 ] || fail "stored $(stored 宽度)x$(stored 高度) from the classic look"
echo "skin-mouse: ok"
