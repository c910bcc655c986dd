#!/usr/bin/env bash
# Time from a send to the chat program holding the text, against the stand-in
# chat program under Xvfb with openbox, over N runs (median, min, max), beside
# the common pair of tools that does the same by hand, measured in the same
# run and alternating with ours: `xclip` takes the clipboard, then
# `xdotool key --clearmodifiers ctrl+v` pastes into the focused window.
#   bench/send-latency.sh cli [runs]    from starting `vomra-cli send` to the paste
#   bench/send-latency.sh page [runs]   from the click on the recipe page's label 8
#                                       to the paste (needs the recipe page)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mode=${1:-cli}
runs=${2:-20}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
"$root/scripts/setup" xclip xdotool
export VOMRA_BUILD=${VOMRA_BUILD:-$root/build}
source "$root/tests/e2e/lib/send-common.bash"

start_wm
: >"$work/chat.log"
"$fakechat" --log "$work/chat.log" --stamp --window 发送消息 --at 0,0 & chat=$!
wait_for "the chat window" grep -q ' ready$' "$work/chat.log"

pastes() { grep -c ' paste ' "$work/chat.log" || true; }
has_pastes() { [ "$(pastes)" -ge "$1" ]; }

case $mode in
cli)
  send_once() { printf 'latency\n' | "$build/src/cli/vomra-cli" send; }
  ;;
page)
  source "$root/tests/e2e/lib/send-page.bash"
  start_vomra
  select_recipe_text
  send_once() { click_label 8; }
  ;;
*) echo "send-latency: mode is cli or page" >&2; exit 2 ;;
esac
# The peers paste into the focused window: the input box, as after our send.
peer_once() {
  printf 'latency' | xclip -selection clipboard -i
  xdotool key --clearmodifiers ctrl+v
}

n=0
ours=()
theirs=()
# time_one ARRAY COMMAND: the time from COMMAND's start to the next paste.
time_one() {
  local -n into=$1
  shift
  local start done_at
  start=$(( $(date +%s%N) / 1000000 ))
  "$@"
  n=$((n + 1))
  wait_for "paste $n" has_pastes "$n"
  done_at=$(grep ' paste ' "$work/chat.log" | sed -n "${n}p" | cut -d' ' -f1)
  into+=($(( done_at - start )))
}
send_once # the window activated and focused once before timing
n=1
wait_for "the first paste" has_pastes 1
for _ in $(seq "$runs"); do
  time_one ours send_once
  time_one theirs peer_once
done
summary() {
  local sorted
  sorted=($(printf '%s\n' "$@" | sort -n))
  echo "median ${sorted[$(($# / 2))]}, min ${sorted[0]}, max ${sorted[$(($# - 1))]}"
}
ours_median=$(printf '%s\n' "${ours[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")
theirs_median=$(printf '%s\n' "${theirs[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")
echo "runs: $runs ($mode), alternating"
echo "send to paste in the chat program (ms), vomra:          $(summary "${ours[@]}")"
echo "send to paste in the chat program (ms), xclip+xdotool:  $(summary "${theirs[@]}")"
awk -v a="$ours_median" -v b="$theirs_median" 'BEGIN { printf "ratio of the medians (vomra / theirs): %.2f\n", a / b }'
