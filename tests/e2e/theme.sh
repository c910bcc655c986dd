#!/usr/bin/env bash
# The skinned window on a real X server with a window manager: worn at start from
# the saved index, rounded top corners, moved by its caption, maximised and
# closed by its own buttons; the classic item gives the window manager's frame back.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/window.bash"
startInProgramFolder
cp -R "$root/assets/Theme" "$work/Theme"
ini() { printf '[\xbd\xe7\xc3\xe6\xb7\xbd\xb0\xb8]\r\n\xb7\xbd\xb0\xb8=%d\r\n' "$1" > "$work/QOBR.Ini"; }
saved() { grep -a -o $'\xb7\xbd\xb0\xb8=[0-9]*' "$work/QOBR.Ini" | cut -d= -f2; }
fail() { echo "theme: $*" >&2; kill $pid 2>/dev/null; exit 1; }
pixel() { convert "$work/root.png" -format "%[hex:p{$1,$2}]" info:; }
ended() { for _ in $(seq 50); do kill -0 $pid 2>/dev/null || return 0; sleep 0.2; done; return 1; }

# Graphite: buttons 23 x 19 at y 5; close 27 from the right edge, maximise 52; corner ellipse 8.
ini 2
"$work/vomra" & pid=$!
win=$(mainWindow) || fail "no window"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$win")"
xwininfo -id "$win" | grep -q 'Width: 640' || fail "not 640 wide"
# No window-manager frame: openbox's frame is as large as the window itself.
frame=$(xwininfo -id "$win" -children | awk '/Parent window id/ {print $4}')
[ "$(xwininfo -id "$frame" | awk '/Width:/ {print $2}')" = 640 ] || fail "the window manager drew a frame"
import -window root "$work/root.png"
[ "$(pixel "$X" "$Y")" = 000000 ] || fail "top-left corner not cut: $(pixel "$X" "$Y")"
[ "$(pixel $((X + 639)) "$Y")" = 000000 ] || fail "top-right corner not cut"
[ "$(pixel $((X + 320)) "$Y")" != 000000 ] || fail "top edge cut"
[ "$(pixel "$X" $((Y + 479)))" != 000000 ] || fail "bottom-left corner cut"

# Drag by the caption.
# The window manager takes over the move once the press reaches it: the pauses
# let each step arrive before the next.
xdotool mousemove $((X + 300)) $((Y + 12)) mousedown 1
sleep 0.3
xdotool mousemove $((X + 340)) $((Y + 52))
sleep 0.3
xdotool mousemove $((X + 350)) $((Y + 62))
sleep 0.3
xdotool mouseup 1
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$win" | sed 's/^/N/')"
[ "$NX" != "$X" ] && [ "$NY" != "$Y" ] || fail "the caption drag did not move the window ($X,$Y → $NX,$NY)"
X=$NX; Y=$NY

# The skin's maximise button.
xdotool mousemove $((X + 640 - 52 + 11)) $((Y + 14)) click 1
sleep 1
eval "$(xdotool getwindowgeometry --shell "$win" | sed 's/^/M/')"
[ "$MWIDTH" = 1024 ] || fail "maximise did not fill the screen (width $MWIDTH)"
# The skin's close button: the program ends and keeps the theme.
xdotool mousemove $((MX + MWIDTH - 27 + 11)) $((MY + 14)) click 1
ended || fail "close did not end the program"
wait $pid || fail "exit status $?"
[ "$(saved)" = 2 ] || fail "saved index $(saved), not 2"

# The theme page's classic item: the window manager's frame comes back, 0 is saved.
ini 2   # in the normal state: the run above closed maximised
"$work/vomra" & pid=$!
win=$(mainWindow) || fail "no window"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove $((X + 89)) $((Y + 161)) click 1     # menu item 界面方案
sleep 0.5
xdotool mousemove $((X + 388)) $((Y + 88)) click --repeat 2 --delay 80 1   # the first icon
sleep 1.5
# The frame comes back round the same outer box.
read -r l r t b < <(xprop -id "$win" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,/ /g')
[ "$t" -gt 0 ] || fail "no window-manager frame after the classic look"
frame=$(xwininfo -id "$win" -children | awk '/Parent window id/ {print $4}')
fw=$(xwininfo -id "$frame" | awk '/Width:/ {print $2}')
[ "$fw" = 640 ] || fail "outer width $fw after the classic look, not 640"
closeWithKeys "$win" $pid || fail "alt+F4 did not end the program"
wait $pid || fail "exit status $?"
[ "$(saved)" = 0 ] || fail "saved index $(saved), not 0"
echo "theme: ok"
