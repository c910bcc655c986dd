# Shared by the send end-to-end scripts: the window manager, the stand-in chat
# program and waits on its log. Sourced, not run (no .sh name).
build=${VOMRA_BUILD:?}
fakechat="$build/tests/fakechat/vomra_fakechat"
work=$(mktemp -d)
wm=
chat=
keeper=
cleanup() {
  [ -n "${vomra:-}" ] && kill "$vomra" 2>/dev/null
  [ -n "$chat" ] && kill "$chat" 2>/dev/null
  [ -n "$keeper" ] && kill "$keeper" 2>/dev/null
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "$(basename "$0"): $*" >&2; [ -f "$work/chat.log" ] && sed 's/^/  log: /' "$work/chat.log" >&2; exit 1; }

# Polls a condition for up to ten seconds; it is the event we wait for, not a delay.
wait_for() {
  local what=$1; shift
  for _ in $(seq 200); do "$@" && return 0; sleep 0.05; done
  fail "timed out waiting for $what"
}

start_wm() {
  openbox >/dev/null 2>&1 & wm=$!
  wait_for "the window manager" xdotool get_num_desktops >/dev/null 2>&1
}

stop_wm() {
  kill "$wm"; wait "$wm" 2>/dev/null || true; wm=
}

# start_chat ARGS...: the stand-in chat program with a fresh log, once all its
# windows are mapped.
start_chat() {
  stop_chat
  : >"$work/chat.log"
  "$fakechat" --log "$work/chat.log" "$@" & chat=$!
  wait_for "the chat windows" grep -qx ready "$work/chat.log"
}

# A new chat program may get the ids of the windows of the one before: the
# window manager must have let go of those first.
stop_chat() {
  [ -n "$chat" ] || return 0
  local ids
  ids=$(sed -n 's/^window [^ ]* //p' "$work/chat.log")
  kill "$chat" 2>/dev/null; wait "$chat" 2>/dev/null || true; chat=
  if [ -n "$wm" ] && [ -n "$ids" ]; then
    "$fakechat" --wait-gone $ids || fail "the window manager kept the old chat windows"
  fi
}

# The window id the chat program logged for a tag.
chat_window() { sed -n "s/^window $1 //p" "$work/chat.log"; }

# The events of the log (paste, click, enter, key), one a line.
events() { grep -v -e '^window ' -e '^ready$' "$work/chat.log" || true; }

has_events() { [ "$(events | wc -l)" -ge "$1" ]; }

# expect_events LINE...: waits until the log holds that many events, then
# compares them in order.
expect_events() {
  local want
  want=$(printf '%s\n' "$@")
  wait_for "$# event(s)" has_events $#
  [ "$(events)" = "$want" ] || fail "events differ; wanted:
$want
got:
$(events)"
}


# Xvfb starts over when its last client leaves (between two cases with no
# window manager): a small window stays up for the whole script.
: >"$work/keeper.log"
"$fakechat" --log "$work/keeper.log" --window keeper --at 1000,740 --size 8x8 --no-children & keeper=$!
wait_for "the X server" grep -qx ready "$work/keeper.log"
