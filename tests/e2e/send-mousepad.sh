#!/usr/bin/env bash
# vomra-cli send into a real GTK text view (Mousepad) under Xvfb with openbox:
# GTK asks for its own buffer format, then the target list, then UTF-8 text.
# Paste only must change the buffer to exactly the text sent; --press-send
# must add the Enter after it; a text larger than one X request goes in INCR
# pieces. The buffer is read back by saving the file.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/send-common.bash"
cli="$build/src/cli/vomra-cli"
command -v mousepad >/dev/null || fail "mousepad is not installed (scripts/setup)"
export NO_AT_BRIDGE=1
mousepad_pid=
bus_pid=
stop_mousepad() {
  [ -n "$mousepad_pid" ] || return 0
  kill "$mousepad_pid" 2>/dev/null; wait "$mousepad_pid" 2>/dev/null || true; mousepad_pid=
}
trap 'stop_mousepad; [ -n "$bus_pid" ] && kill "$bus_pid"; cleanup' EXIT

# A session bus of our own: GTK programs want one.
dbus-daemon --session --nofork --print-address=3 3>"$work/bus" 2>/dev/null & bus_pid=$!
wait_for "the session bus" test -s "$work/bus"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS

# start_mousepad FILE: an editor on FILE, once its window carries the file's name.
start_mousepad() {
  stop_mousepad
  mousepad "$1" >"$work/mousepad.out" 2>&1 & mousepad_pid=$!
  wait_for "the Mousepad window" sh -c "xdotool search --onlyvisible --name '$(basename "$1")' >/dev/null 2>&1"
}

# The buffer as Mousepad holds it: saved with Ctrl+S, then read.
buffer_of() {
  local before
  before=$(stat -c %Y.%s "$1")
  # Apart: a key chained after a window search goes as a sent event, which GTK ignores.
  xdotool search --onlyvisible --class mousepad windowactivate --sync 2>/dev/null
  xdotool key ctrl+s
  wait_for "Mousepad to save" sh -c "[ \"\$(stat -c %Y.%s '$1')\" != '$before' ]"
  cat "$1"
}

start_wm

# Paste only, by class: the buffer is the text, nothing more.
: >"$work/a.txt"
start_mousepad "$work/a.txt"
printf '你好 Mousepad 😀\n  第二行 tab\there\n' | "$cli" send --class mousepad || fail "paste only: exit status $?"
got=$(buffer_of "$work/a.txt"; echo .)
[ "$got" = "$(printf '你好 Mousepad 😀\n  第二行 tab\there.')" ] || fail "paste only: the buffer holds '$got'"

# Paste and Enter, by a part of the title: the line end comes after the text.
: >"$work/b.txt"
start_mousepad "$work/b.txt"
printf 'first' | "$cli" send --window-contains 'b.txt' --press-send || fail "paste and Enter: exit status $?"
printf 'second' | "$cli" send --window-contains 'b.txt' || fail "second paste: exit status $?"
got=$(buffer_of "$work/b.txt"; echo .)
[ "$got" = "$(printf 'first\nsecond.')" ] || fail "paste and Enter: the buffer holds '$got'"

# Larger than one X request: every byte arrives.
: >"$work/c.txt"
start_mousepad "$work/c.txt"
head -c 400000 /dev/urandom | base64 -w 76 >"$work/big.txt"
"$cli" send --class Mousepad <"$work/big.txt" || fail "large text: exit status $?"
buffer_of "$work/c.txt" >"$work/c.got"
cmp <(head -c $(($(stat -c %s "$work/big.txt") - 1)) "$work/big.txt") "$work/c.got" || fail "large text: the buffer differs"

echo "send-mousepad: ok"
