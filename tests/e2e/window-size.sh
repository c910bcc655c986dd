#!/usr/bin/env bash
# The stored window size is the outer size, frame included, and never more than
# the screen: under a real window manager, a stored 1024 x 768 on a 1024 x 768
# screen fits on it, and the largest numbers start a maximised window that
# restores to the screen's size.
set -euo pipefail
build=${VOMRA_BUILD:?}
work=$(mktemp -d)
openbox >/dev/null 2>&1 & wm=$!
trap 'kill $pid $wm 2>/dev/null; rm -rf "$work"' EXIT
pid=
sleep 1
cp "$build/src/app/vomra" "$work/"
read -r screen_w screen_h < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')

fail() { echo "window-size: $*" >&2; exit 1; }
case=start

# QOBR.Ini in GBK from UTF-8 lines.
ini() { printf '%s\r\n' "$@" | iconv -f UTF-8 -t GBK > "$work/QOBR.Ini"; }
stored() { iconv -f GBK -t UTF-8 < "$work/QOBR.Ini" | tr -d '\r' | sed -n "s/^$1=//p"; }

start() {
  "$work/vomra" & pid=$!
  win=$(timeout 30 xdotool search --sync --onlyvisible --name '^Vomra 2003 v2.0$' | head -n 1) ||
    fail "the main window did not appear"
  sleep 1
}

# The outer box: the inside as X11 places it, grown by _NET_FRAME_EXTENTS.
outer() {
  local x y w h l r t b
  eval "$(xwininfo -id "$win" | awk '/Absolute upper-left X/ {print "x="$NF} /Absolute upper-left Y/ {print "y="$NF}
                                     /Width:/ {print "w="$NF} /Height:/ {print "h="$NF}')"
  IFS=', ' read -r l r t b < <(xprop -id "$win" _NET_FRAME_EXTENTS | sed 's/.*= //')
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b)) $l $t"
}

close() {
  # Alt+F4 through the window manager; once more if a busy machine lost the first.
  for _ in 1 2; do
    xdotool windowactivate --sync "$win" key --clearmodifiers alt+F4 || true
    for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done
    kill -0 $pid 2>/dev/null || break
  done
  kill -0 $pid 2>/dev/null && fail "$case: vomra did not close"
  wait $pid || fail "vomra exited with an error"
  pid=
}

# 1. A stored size as large as the screen: the whole window, frame included, is on it.
case="screen size"
ini "[窗体]" "宽度=$screen_w" "高度=$screen_h"
start
read -r ox oy ow oh left top < <(outer)
[ "$left$top" != "00" ] || fail "no frame from the window manager"
[ "$ow" -eq "$screen_w" ] && [ "$oh" -eq "$screen_h" ] || fail "outer size ${ow}x$oh, stored ${screen_w}x$screen_h"
[ "$ox" -ge 0 ] && [ "$oy" -ge 0 ] && [ $((ox + ow)) -le "$screen_w" ] && [ $((oy + oh)) -le "$screen_h" ] ||
  fail "outer box $ox,$oy ${ow}x$oh runs off the ${screen_w}x$screen_h screen"
close
[ "$(stored 宽度)x$(stored 高度)/$(stored 状态)" = "${screen_w}x$screen_h/标准" ] ||
  fail "stored back $(stored 宽度)x$(stored 高度)/$(stored 状态)"

# 2. A user-sized window stores its outer size.
case="800 x 600"
ini "[窗体]" "宽度=800" "高度=600"
start
read -r _ _ ow oh _ _ < <(outer)
[ "${ow}x$oh" = "800x600" ] || fail "outer size ${ow}x$oh, stored 800x600"
close
[ "$(stored 宽度)x$(stored 高度)" = "800x600" ] || fail "stored back $(stored 宽度)x$(stored 高度)"

# 3. The largest numbers: maximised, with a restored size that fits the screen.
case="largest numbers"
ini "[窗体]" "宽度=2147483647" "高度=2147483647"
start
xprop -id "$win" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED_VERT || fail "not started maximised"
rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
[ "$rss" -lt 400000 ] || fail "resident memory ${rss} kB"
# Restore it the way a user does: a double click on the title bar.
xdotool mousemove 400 $((top / 2)) click --repeat 2 --delay 80 1
sleep 1
xprop -id "$win" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED_VERT && fail "did not restore"
read -r ox oy ow oh _ _ < <(outer)
[ "$ow" -le "$screen_w" ] && [ "$oh" -le "$screen_h" ] || fail "restored to ${ow}x$oh on a ${screen_w}x$screen_h screen"
close
[ "$(stored 宽度)" -le "$screen_w" ] && [ "$(stored 高度)" -le "$screen_h" ] ||
  fail "stored back $(stored 宽度)x$(stored 高度)"
echo "window-size: ok"
