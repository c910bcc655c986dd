#!/usr/bin/env bash
# Time from a send to the chat program holding the text, against the stand-in
# chat program under Xvfb with openbox, over N runs (median, min, max):
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
export VOMRA_BUILD="$root/build"
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

times=()
for n in $(seq "$runs"); do
  start=$(( $(date +%s%N) / 1000000 ))
  send_once
  wait_for "paste $n" has_pastes "$n"
  done_at=$(grep ' paste ' "$work/chat.log" | sed -n "${n}p" | cut -d' ' -f1)
  times+=($(( done_at - start )))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "runs: $runs ($mode)"
echo "send to paste in the chat program (ms): median ${sorted[$((runs / 2))]}, min ${sorted[0]}, max ${sorted[$((runs - 1))]}"
