#!/usr/bin/env bash
# Chat-sized text from a photo: `vomra-cli grind --width 80` on a 12 MP JPEG next
# to `jp2a --width=80` and `chafa -s 80` on the same file, in one run: median
# wall time per run over N runs (whole process, output to /dev/null) and peak
# resident memory. One extra vomra-cli run with VOMRA_GRIND_TIMING set shows
# where its time goes. The peers are installed here when missing.
#   bench/grind-fit-peers.sh [runs] [WxH] [columns]   (defaults 10, 4000x3000, 80)
#   VOMRA_BUILD=/path/to/build                         (default: build/ of this checkout)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-10}
size=${2:-4000x3000}
columns=${3:-80}
build=${VOMRA_BUILD:-$root/build}
cli="$build/src/cli/vomra-cli"
[ -x "$cli" ] || { echo "grind-fit-peers: no $cli (build vomra-cli, or set VOMRA_BUILD)" >&2; exit 1; }
command -v convert >/dev/null || { echo "grind-fit-peers: needs ImageMagick's convert" >&2; exit 1; }
command -v jp2a >/dev/null && command -v chafa >/dev/null || "$root/scripts/setup" jp2a chafa time

warmups=1
. "$root/bench/peers-lib.sh"
ms() { awk -v u="$1" 'BEGIN {printf "%.1f", u / 1000}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Plasma noise: smooth gradients with fine detail, like a photograph; fixed seed.
convert -seed 7 -size "$size" plasma:fractal -type TrueColor -quality 90 "$work/pic.jpg"

cmd_cli=("$cli" grind --width "$columns" "$work/pic.jpg")
cmd_jp2a=(jp2a --width="$columns" "$work/pic.jpg")
# Plain symbols, no colour codes: the closest chafa has to a text-only grind.
cmd_chafa=(chafa -s "$columns" --format symbols --colors none --animate off "$work/pic.jpg")
for name in cli jp2a chafa; do
  declare -n cmd="cmd_$name"
  "${cmd[@]}" >"$work/$name.out" 2>"$work/$name.err" || { echo "grind-fit-peers: $name failed: $(cat "$work/$name.err")" >&2; exit 1; }
  unset -n cmd
done
cli_t=$(median_us "${cmd_cli[@]}");     cli_m=$(peak_kib "${cmd_cli[@]}")
jp_t=$(median_us "${cmd_jp2a[@]}");     jp_m=$(peak_kib "${cmd_jp2a[@]}")
ch_t=$(median_us "${cmd_chafa[@]}");    ch_m=$(peak_kib "${cmd_chafa[@]}")

echo "$runs runs each (after 1 warm-up run); picture $size JPEG, $(($(stat -c %s "$work/pic.jpg") / 1024)) KiB; $columns columns"
printf '%-58s %10s %13s %10s\n' "command" "median ms" "peak RSS KiB" "out lines"
row() { printf '%-58s %10s %13s %10s\n' "$1" "$(ms "$2")" "$3" "$(wc -l <"$4")"; }
row "vomra-cli grind --width $columns" "$cli_t" "$cli_m" "$work/cli.out"
row "jp2a --width=$columns" "$jp_t" "$jp_m" "$work/jp2a.out"
row "chafa -s $columns --format symbols --colors none" "$ch_t" "$ch_m" "$work/chafa.out"
baseline_line
VOMRA_GRIND_TIMING=1 "${cmd_cli[@]}" 2>"$work/timing" >/dev/null
echo "vomra-cli split: $(grep '^grind timing:' "$work/timing" | sed 's/^grind timing: //')"
echo "time jp2a / vomra-cli: $(ratio "$jp_t" "$cli_t")x   chafa / vomra-cli: $(ratio "$ch_t" "$cli_t")x"
echo "memory vomra-cli / jp2a: $(ratio "$cli_m" "$jp_m")x   vomra-cli / chafa: $(ratio "$cli_m" "$ch_m")x"
