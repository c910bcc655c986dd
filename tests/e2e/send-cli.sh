#!/usr/bin/env bash
# vomra-cli send against the stand-in chat program under Xvfb: which window
# gets the text, in which order the reply, paste, click and Enter arrive, and
# the one-line errors.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/send-common.bash"
cli="$build/src/cli/vomra-cli"

# A marker event after everything the last send did, so "nothing else" can be checked.
mark() { xdotool key --window "$(chat_window "$1")" F12; }

start_wm

# Paste only: the text lands in the input box of kind 1, nothing is clicked.
start_chat --window 发送消息 --at 0,0
printf '你好 hello\n  第二行\n' | "$cli" send || fail "paste-only send failed"
mark w1
expect_events 'paste w1 input 你好 hello\n  第二行' 'key w1 window F12'

# Paste and send into kind 2, from GBK input; the click comes after the paste,
# at the button's centre, and the pointer is put back.
start_chat --window 对话模式 --at 0,0
xdotool mousemove 700 500
printf '对话 abc\n' | iconv -f UTF-8 -t GBK | "$cli" send --kind 2 --press-send --encoding gbk || fail "paste-and-send failed"
expect_events 'paste w1 input 对话 abc' 'click w1 send 40,12'
[ "$(xdotool getmouselocation | cut -d' ' -f1-2)" = "x:700 y:500" ] || fail "the pointer was not put back: $(xdotool getmouselocation)"

# The reply button of "查看消息" is clicked first, also when no target follows.
start_chat --reply --at 500,0 --window 发送消息 --at 0,0
printf 'x' | "$cli" send --press-send || fail "send with a reply window failed"
expect_events 'click view reply 40,12' 'paste w2 input x' 'click w2 send 40,12'
start_chat --reply --at 500,0
status=0; err=$(printf 'x' | "$cli" send 2>&1) || status=$?
[ $status -eq 1 ] || fail "no target: exit status $status"
[[ $err == *"我还没有找到QQ的窗口呢……:("* ]] || fail "no target: message '$err'"
expect_events 'click view reply 40,12'

# Two windows of one title: the top-most gets the text.
start_chat --window 发送消息 --at 0,0 --window 发送消息 --at 450,0
for top in w1 w2; do
  xdotool windowactivate --sync "$(chat_window $top)" 2>/dev/null
  printf '%s' "to $top" | "$cli" send || fail "send to the top-most failed"
done
mark w1
expect_events 'paste w1 input to w1' 'paste w2 input to w2' 'key w1 window F12'

# A child that takes no input over the probe point: the window itself gets it.
start_chat --window 发送消息 --at 0,0 --disabled 10,90,120,40 --input 10,200,380,150
printf 'to the window' | "$cli" send --press-send || fail "send past a disabled child failed"
expect_events 'paste w1 window to the window' 'click w1 send 40,12'

# A window too small for the probe point counts as missing.
start_chat --window 发送消息 --at 0,0 --size 300x90
status=0; err=$(printf 'x' | "$cli" send 2>&1) || status=$?
[ $status -eq 1 ] || fail "small window: exit status $status"
[[ $err == *'no window "发送消息" with an input box at (20, 100)'* ]] || fail "small window: message '$err'"
mark w1
expect_events 'key w1 window F12'

# A window with no children (drawn in one piece): the paste goes to the window,
# and "press send" is an Enter; a title given by WM_NAME alone is found too.
start_chat --window 对话模式 --at 0,0 --no-children --wm-name-only
printf 'one' | "$cli" send --kind 2 || fail "paste into a one-piece window failed"
printf 'two' | "$cli" send --kind 2 --press-send || fail "send into a one-piece window failed"
mark w1
expect_events 'paste w1 window one' 'paste w1 window two' 'enter w1 window' 'key w1 window F12'

# Children without captions only (a toolkit's helper windows): the same.
start_chat --window 对话模式 --at 0,0 --no-send
xdotool mousemove 1000 10
printf 'three' | "$cli" send --kind 2 --press-send || fail "send into a window of helper children failed"
expect_events 'paste w1 window three' 'enter w1 window'

# Window titles from QOBR.Ini beside the program, and --window: a copy of
# vomra-cli alone, with nothing beside it, sends.
mkdir "$work/prog"
cp "$cli" "$work/prog/"
printf '[发送]\r\n窗口1=Chat with Bob\r\n' | iconv -f UTF-8 -t GBK >"$work/prog/QOBR.Ini"
start_chat --window 'Chat with Bob' --at 0,0 --no-children --window 'Room 7' --at 450,0 --no-children
printf 'hi Bob' | "$work/prog/vomra-cli" send --kind 1 || fail "send by the title from QOBR.Ini failed"
printf 'hi room' | "$cli" send --window 'Room 7' || fail "send by --window failed"
mark w1
expect_events 'paste w1 window hi Bob' 'paste w2 window hi room' 'key w1 window F12'

# No window manager: top-level windows are found by walking the tree.
stop_chat
stop_wm
start_chat --window 发送消息 --at 0,0
printf 'bare X' | "$cli" send --press-send || fail "send without a window manager failed"
expect_events 'paste w1 input bare X' 'click w1 send 40,12'

# No display at all, X or Wayland: the missing-window error, never a crash.
status=0; err=$(printf 'x' | DISPLAY= WAYLAND_DISPLAY= "$cli" send 2>&1) || status=$?
[ $status -eq 1 ] || fail "no display: exit status $status"
[ "$err" = 'vomra-cli send: 我还没有找到QQ的窗口呢……:( (no X display)' ] || fail "no display: message '$err'"

echo "send-cli: ok"
