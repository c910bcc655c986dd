#!/usr/bin/env bash
# The program in a Wayland session, under weston without a screen:
#  - with no X display it starts natively on Wayland, classic and skinned, and
#    shows its window (read back with the compositor's screenshooter);
#  - applying a theme keeps the window on screen (the theme page test, run
#    inside the session);
#  - `vomra-cli send` with no X display leaves the text on the Wayland
#    clipboard, exits 4 and serves it until another program copies;
#  - under Xwayland, whose window manager keeps no _NET_CLIENT_LIST_STACKING,
#    a send reaches the stand-in chat program;
#  - with both displays it runs on X, unless QT_QPA_PLATFORM says otherwise.
# weston 10's headless backend makes no seat: without one a Wayland client has
# no clipboard at all, and its Xwayland window manager crashes when an X
# program takes the clipboard. The sending parts therefore run weston on the X
# server this script is given (its x11 backend makes a keyboard and a
# pointer), with DISPLAY unset for our programs.
set -euo pipefail
build=${VOMRA_BUILD:?}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cli="$build/src/cli/vomra-cli"
fakechat="$build/tests/fakechat/vomra_fakechat"
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "wayland: $*" >&2; for f in "$work"/*.log; do sed "s|^|  $(basename "$f"): |" "$f" >&2; done; exit 1; }
wait_for() {
  local what=$1; shift
  for _ in $(seq 200); do "$@" && return 0; sleep 0.05; done
  fail "timed out waiting for $what"
}

export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
xserver="${DISPLAY:-}"
unset DISPLAY QT_QPA_PLATFORM
export XDG_SESSION_TYPE=wayland
# A plain background and no panel: whatever is not the background is a window.
cat >"$work/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
background-color=0xff204060
panel-position=none
locking=false
animation=none
startup-animation=none
INI
background=204060

# start_weston NAME ARGS...: a compositor on socket NAME, once it listens.
start_weston() {
  local name=$1; shift
  weston --config="$work/weston.ini" --socket="$name" "$@" >"$work/weston-$name.log" 2>&1 &
  pids+=($!)
  wait_for "weston ($name)" test -S "$XDG_RUNTIME_DIR/$name"
}

start_weston headless --backend=headless-backend.so --use-pixman --debug --width=1024 --height=768
export WAYLAND_DISPLAY=headless

# The share of the screen that is not background, in per mille.
covered() {
  rm -f "$work"/shots/*.png
  mkdir -p "$work/shots"
  (cd "$work/shots" && weston-screenshooter >/dev/null 2>&1) || return 1
  local shot
  shot=$(ls "$work"/shots/*.png 2>/dev/null | head -n 1)
  [ -n "$shot" ] || return 1
  cp "$shot" "$work/last-shot.png"
  convert "$shot" -fill black -fuzz 1% -opaque "#$background" -fill white +opaque black \
    -format '%[fx:int(1000*mean)]' info:
}
shows_window() { local c; c=$(covered) && [ "$c" -ge 100 ]; }
screen_clear() { local c; c=$(covered) && [ "$c" -lt 5 ]; }

wait_for "the empty desktop" screen_clear

# 1. Native Wayland, no X display: the window shows, classic and skinned.
mkdir "$work/prog"
cp "$build/src/app/vomra" "$work/prog/"
cp -R "$root/assets/Theme" "$work/prog/Theme"
for theme in 0 2; do
  printf '[\xbd\xe7\xc3\xe6\xb7\xbd\xb0\xb8]\r\n\xb7\xbd\xb0\xb8=%d\r\n' "$theme" >"$work/prog/QOBR.Ini"
  "$work/prog/vomra" >"$work/vomra.log" 2>&1 & pid=$!
  pids+=($pid)
  wait_for "the window (theme $theme)" shows_window
  kill -0 $pid 2>/dev/null || fail "vomra ended (theme $theme)"
  # VOMRA_WAYLAND_SHOTS=DIR keeps the screenshots, to look at.
  if [ -n "${VOMRA_WAYLAND_SHOTS:-}" ]; then cp "$work/last-shot.png" "$VOMRA_WAYLAND_SHOTS/theme$theme.png"; fi
  kill $pid; wait $pid 2>/dev/null || true
  wait_for "the window to go" screen_clear
done
rm -f "$work/vomra.log"

# 2. Applying a theme keeps the window on screen (the test takes screenshots).
QT_QPA_PLATFORM=wayland VOMRA_SCREENSHOOTER=weston-screenshooter VOMRA_SCREEN_BACKGROUND=$background \
  "$build/tests/vomra_gui_tests" --gtest_filter='ThemePageTest.OnWayland*' >"$work/theme-test.log" 2>&1 ||
  fail "the theme test failed"
grep -q '\[  PASSED  \] 1 test' "$work/theme-test.log" || fail "the theme test did not run"
rm -f "$work/theme-test.log"

# 3. No X display: the text waits on the Wayland clipboard (needs a seat).
[ -n "$xserver" ] || fail "no X server to run weston's x11 backend on (run under xvfb-run)"
DISPLAY=$xserver start_weston seat --backend=x11-backend.so --use-pixman --width=640 --height=480 --xwayland
export WAYLAND_DISPLAY=seat
printf 'from the CLI 剪贴板\n' | "$cli" send >"$work/cli.out" 2>"$work/cli.log" & cli_pid=$!
pids+=($cli_pid)
pasted() { [ "$(timeout 2 wl-paste --no-newline 2>/dev/null)" = 'from the CLI 剪贴板' ]; }
wait_for "the text on the clipboard" pasted
kill -0 $cli_pid 2>/dev/null || fail "vomra-cli stopped serving the clipboard"
grep -qx 'vomra-cli send: 没有找到可以粘贴的窗口：文字已复制到剪贴板，请到聊天窗口里按 Ctrl+V 粘贴' "$work/cli.log" ||
  fail "vomra-cli did not say where the text went"
# Another program copies: vomra-cli lets go and ends with 4.
wl-copy 'something else'
status=0
for _ in $(seq 100); do kill -0 $cli_pid 2>/dev/null || break; sleep 0.05; done
kill -0 $cli_pid 2>/dev/null && fail "vomra-cli kept running after another copy"
wait $cli_pid || status=$?
[ $status -eq 4 ] || fail "vomra-cli send without X exited $status, not 4"
[ "$(timeout 2 wl-paste --no-newline)" = 'something else' ] || fail "the other copy was lost"

# 4. Sending under Xwayland, whose window manager keeps no stacking list.
xwayland=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston-seat.log" | head -n 1)
[ -n "$xwayland" ] || fail "no Xwayland display"
: >"$work/chat.log"
DISPLAY=$xwayland "$fakechat" --log "$work/chat.log" --window 发送消息 --at 0,0 & pids+=($!)
wait_for "the chat window" grep -qx ready "$work/chat.log"
if DISPLAY=$xwayland xprop -root _NET_CLIENT_LIST_STACKING | grep -q 'window id'; then
  fail "Xwayland's window manager keeps a stacking list here: the case is not tested"
fi
printf '你好 Xwayland' | DISPLAY=$xwayland "$cli" send --press-send 2>"$work/send.log" || fail "send under Xwayland failed"
wait_for "the paste" grep -q '^paste w1 input 你好 Xwayland$' "$work/chat.log"
wait_for "the click" grep -q '^click w1 send' "$work/chat.log"
rm -f "$work/send.log" "$work/chat.log"

# 5. With both a Wayland and an X display, the program takes X (Xwayland).
DISPLAY=$xwayland "$work/prog/vomra" >"$work/vomra.log" 2>&1 & pid=$!
pids+=($pid)
on_x() { DISPLAY=$xwayland xdotool search --name '^Vomra 2003 v2.0$' >/dev/null 2>&1; }
wait_for "the window on Xwayland" on_x
kill $pid; wait $pid 2>/dev/null || true
DISPLAY=$xwayland QT_QPA_PLATFORM=wayland "$work/prog/vomra" >"$work/vomra.log" 2>&1 & pid=$!
pids+=($pid)
sleep 2
kill -0 $pid 2>/dev/null || fail "vomra ended on Wayland by choice"
on_x && fail "QT_QPA_PLATFORM=wayland was not followed"
kill $pid; wait $pid 2>/dev/null || true
rm -f "$work/vomra.log"

echo "wayland: ok"
