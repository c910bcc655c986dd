#!/usr/bin/env bash
# vomra-cli send against chat programs that fetch the clipboard in the ways real
# ones do: a richer format asked first, the target list first, slowly, a
# clipboard keeper that takes the selection back, a clipboard manager, a title
# GBK cannot write beside a decoy, Shift held by the user, a 20 MB text. What
# the chat program logged must be the text sent, Enter after it, and the exit
# status must say what happened.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/send-common.bash"
cli="$build/src/cli/vomra-cli"
helper=
helper_stop() { [ -n "$helper" ] && { kill "$helper" 2>/dev/null; wait "$helper" 2>/dev/null || true; }; helper=; }
trap 'helper_stop; cleanup' EXIT

mark() { xdotool key --window "$(chat_window "$1")" F12; }
text='你好 hello\n  第二行 😀'
sent='你好 hello\n  第二行 😀'

start_wm

# Richer formats first (an HTML-first chat, a GTK text view's own format and
# then the target list): only plain text is offered, and the fallback request
# is served before we exit; Enter comes after the whole paste.
for ask in 'text/html,UTF8_STRING' 'GTK_TEXT_BUFFER_CONTENTS,TARGETS,text/plain;charset=utf-8' 'TEXT' 'STRING'; do
  start_chat --ask "$ask" --show-targets --window 发送消息 --at 0,0 --no-children
  printf "$text\n" | "$cli" send --press-send || fail "ask $ask: exit status $?"
  want="paste w1 window $sent"
  # Latin-1 has none of the Chinese characters: each is a "?".
  if [ "$ask" = STRING ]; then want='paste w1 window ?? hello\n  ??? ?'; fi
  if [[ $ask == *TARGETS* ]]; then
    expect_events 'offered w1 window TARGETS TIMESTAMP text/plain;charset=utf-8 UTF8_STRING STRING TEXT' "$want" 'enter w1 window'
  else
    expect_events "$want" 'enter w1 window'
  fi
done

# A slow chat program: the target list, then the text, each after 400 ms.
start_chat --ask TARGETS,UTF8_STRING --slow 400 --window 发送消息 --at 0,0
printf 'slow' | "$cli" send --press-send || fail "slow fetch: exit status $?"
expect_events 'paste w1 input slow' 'click w1 send 40,12'

# A chat program that fetches through a connection of its own (a helper
# process): its fetch counts once a second has passed and it has not taken the
# clipboard over; Enter comes after it.
start_chat --second-connection --window 发送消息 --at 0,0 --no-children
printf 'elsewhere' | "$cli" send --press-send || fail "second connection: exit status $?"
expect_events 'paste w1 window elsewhere' 'enter w1 window'

# A chat program that takes nothing we offer: found, but not taken (3), within
# the one time limit of the whole send.
start_chat --ask image/png --window 发送消息 --at 0,0
status=0; started=$SECONDS
err=$(printf 'x' | "$cli" send --press-send 2>&1) || status=$?
[ $status -eq 3 ] || fail "nothing taken: exit status $status ($err)"
[ $((SECONDS - started)) -le 7 ] || fail "nothing taken: $((SECONDS - started)) s"
[[ $err == *"发送消息出错啦……:("* ]] || fail "nothing taken: message '$err'"
mark w1
expect_events 'paste w1 input <none>' 'key w1 window F12'

# A clipboard keeper takes the selection back after every change: the chat
# program still gets the text from us, and the keeper ends up with it too.
: >"$work/keeper-clip.log"
"$fakechat" --log "$work/keeper-clip.log" --keeper --window clipkeeper --at 900,700 --size 8x8 --no-children & helper=$!
wait_for "the keeper" grep -qx ready "$work/keeper-clip.log"
start_chat --ask TARGETS,UTF8_STRING --window 发送消息 --at 0,0
printf 'kept 1' | "$cli" send --press-send || fail "with a keeper: exit status $?"
expect_events 'paste w1 input kept 1' 'click w1 send 40,12'
wait_for "the keeper to take the text" grep -qx 'kept kept 1' "$work/keeper-clip.log"
# The keeper's own fetch is no paste: a chat program that takes nothing still fails.
start_chat --ask image/png --window 发送消息 --at 0,0
status=0; printf 'kept 2' | "$cli" send 2>/dev/null || status=$?
[ $status -eq 3 ] || fail "keeper and a chat that takes nothing: exit status $status"
grep -qx 'kept kept 2' "$work/keeper-clip.log" || fail "the keeper did not fetch the second text"
helper_stop

# The real keeper, xclipboard: the text arrives, and xclipboard holds it after we are gone.
xclipboard >/dev/null 2>&1 & helper=$!
wait_for "xclipboard" sh -c "xdotool search --name '^xclipboard$' >/dev/null 2>&1"
start_chat --ask TARGETS,UTF8_STRING --window 发送消息 --at 0,0
printf 'xclipboard 1' | "$cli" send --press-send || fail "with xclipboard: exit status $?"
printf 'xclipboard 2' | "$cli" send || fail "with xclipboard: exit status $?"
xdotool windowactivate --sync "$(chat_window w1)" key ctrl+v 2>/dev/null
expect_events 'paste w1 input xclipboard 1' 'click w1 send 40,12' 'paste w1 input xclipboard 2' \
  'paste w1 window xclipboard 2'
helper_stop

# A clipboard manager keeps the text after vomra-cli has gone.
: >"$work/manager.log"
"$fakechat" --log "$work/manager.log" --manager --window manager --at 900,700 --size 8x8 --no-children & helper=$!
wait_for "the manager" grep -qx ready "$work/manager.log"
start_chat --window 发送消息 --at 0,0
printf 'managed' | "$cli" send || fail "with a manager: exit status $?"
grep -qx 'saved managed' "$work/manager.log" || fail "the manager did not keep the text"
xdotool windowactivate --sync "$(chat_window w1)" key ctrl+v 2>/dev/null
expect_events 'paste w1 input managed' 'paste w1 window managed'
helper_stop

# A title GBK cannot write, beside a decoy titled as GBK would spell it.
start_chat --window 'Chat ?' --at 450,0 --no-children --window 'Chat 😀' --at 0,0 --no-children
printf 'to the emoji' | "$cli" send --window 'Chat 😀' || fail "emoji title: exit status $?"
printf 'to the part' | "$cli" send --window-contains '😀' || fail "part of a title: exit status $?"
mark w1
expect_events 'paste w2 window to the emoji' 'paste w2 window to the part' 'key w1 window F12'

# Picking the window with the cross-hair: --remember writes its title into
# QOBR.Ini beside the program (GBK), and a plain --pick sends into it. A title
# GBK cannot write is refused, and the file keeps what it had.
mkdir "$work/prog"
cp "$cli" "$work/prog/" # vomra-cli alone
pick() { # pick X Y ARGS...: runs vomra-cli send ARGS, clicks at X,Y once the pointer is grabbed
  local x=$1 y=$2 status=0
  shift 2
  : >"$work/pick.err"
  "$work/prog/vomra-cli" send "$@" >"$work/pick.out" 2>"$work/pick.err" <"$work/pick.in" & local picker=$!
  wait_for "the cross-hair" grep -q 'click the chat window' "$work/pick.err"
  xdotool mousemove "$x" "$y" click 1
  wait "$picker" || status=$?
  return $status
}
start_chat --window '群 Room' --at 0,0 --no-children --window 'Chat 😀' --at 450,0 --no-children
: >"$work/pick.in"
pick 200 200 --pick --remember 2 || fail "--pick --remember: exit status $?"
[ "$(cat "$work/pick.out")" = '窗口2=群 Room' ] || fail "--remember printed '$(cat "$work/pick.out")'"
[ "$(iconv -f GBK -t UTF-8 "$work/prog/QOBR.Ini")" = "$(printf '[发送]\r\n窗口2=群 Room\r')" ] ||
  fail "QOBR.Ini holds '$(cat "$work/prog/QOBR.Ini")'"
status=0; pick 600 200 --pick --remember 1 || status=$?
[ $status -eq 2 ] || fail "--remember of an emoji title: exit status $status"
grep -q 'cannot be written in GBK' "$work/pick.err" || fail "--remember of an emoji title: $(cat "$work/pick.err")"
printf 'picked' >"$work/pick.in"
pick 600 200 --pick || fail "--pick: exit status $?"
printf 'by kind' | "$work/prog/vomra-cli" send --kind 2 || fail "--kind 2 after --remember: exit status $?"
mark w1
expect_events 'paste w2 window picked' 'paste w1 window by kind' 'key w1 window F12'

# Shift held by the user (a hotkey still down): a plain Ctrl+V and Enter
# arrive, and Shift is down again afterwards.
start_chat --hold Shift_L --window 发送消息 --at 0,0 --no-children
printf 'shifted' | "$cli" send --press-send || fail "with Shift held: exit status $?"
mark w1
expect_events 'paste w1 window shifted' 'enter w1 window' 'key w1 window shift+F12'
stop_chat

# 20 MB in INCR pieces: every byte arrives before Enter.
head -c 15000000 /dev/urandom | base64 -w 100 >"$work/big.txt"
start_chat --save "$work/got.txt" --window 发送消息 --at 0,0 --no-children
"$cli" send --press-send <"$work/big.txt" || fail "20 MB: exit status $?"
size=$(($(stat -c %s "$work/big.txt") - 1)) # the last line end is not sent
expect_events "paste w1 window <saved $size bytes>" 'enter w1 window'
cmp <(head -c "$size" "$work/big.txt") "$work/got.txt" || fail "20 MB: the bytes differ"

# Exit statuses: no window 1, bad input 2.
status=0; printf 'x' | "$cli" send --window 'no such window' 2>/dev/null || status=$?
[ $status -eq 1 ] || fail "no window: exit status $status"
status=0; printf 'a\xffb' | "$cli" send 2>/dev/null || status=$?
[ $status -eq 2 ] || fail "bad UTF-8: exit status $status"

echo "send-delivery: ok"
