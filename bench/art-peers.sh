#!/usr/bin/env bash
# Whole-process cost of `vomra-cli art` next to figlet and toilet on one short
# word: median wall time per run over N runs and peak resident memory; a
# Chinese word too (figlet draws none, so it is set against figlet's word).
# Targets: at most 2.5x figlet's time and 4x its memory. The peers are installed
# here when missing (they are only needed for this bench).
# In the same run, measured in the same turns: /bin/true (starting any
# process) and a few short commands of vomra-cli (--version, width of a line,
# grind of a small bitmap), set against /bin/true: what loading vomra-cli and
# its libraries costs a command that draws nothing.
#   bench/art-peers.sh [runs] [word]     (defaults 20, "Vomra")
#   VOMRA_BUILD=/path/to/build           (default: build/ of this checkout)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-20}
word=${2:-Vomra}
build=${VOMRA_BUILD:-$root/build}
cli="$build/src/cli/vomra-cli"
[ -x "$cli" ] || { echo "art-peers: no $cli (build vomra-cli, or set VOMRA_BUILD)" >&2; exit 1; }

# The peers are Debian packages; setup installs the missing ones only.
"$root/scripts/setup" figlet toilet time

warmups=2
. "$root/bench/peers-lib.sh"
ms() { awk -v u="$1" 'BEGIN {printf "%.2f", u / 1000}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.1f", a / b}'; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A font cache of this run's own, filled by the first art below: the user's
# may be rewritten meanwhile by other runs (other fonts, a changed set-up).
export VOMRA_FONT_CACHE="$work/fonts"
for c in figlet toilet; do
  "$c" "$word" >"$work/$c.out" || { echo "art-peers: $c failed" >&2; exit 1; }
done
"$cli" art "$word" >"$work/cli.out" || { echo "art-peers: vomra-cli art failed" >&2; exit 1; }

# Measured in turns, so the machine's load weighs on each alike.
cmd_cli=("$cli" art "$word") cmd_han=("$cli" art 艺术字) cmd_fig=(figlet "$word") cmd_toi=(toilet "$word")
cmd_true=(/bin/true)
printf 'ab\n' >"$work/line.txt"
cmd_ver=("$cli" --version) cmd_wid=("$cli" width "$work/line.txt")
cmd_gri=("$cli" grind --ramp '#.' "$root/tests/data/grind/picture.bmp")
{ read -r cli_t; read -r han_t; read -r fig_t; read -r toi_t; read -r true_t; read -r ver_t; read -r wid_t; read -r gri_t; } \
  < <(medians_us cmd_cli cmd_han cmd_fig cmd_toi cmd_true cmd_ver cmd_wid cmd_gri)
cli_m=$(peak_kib "${cmd_cli[@]}")
han_m=$(peak_kib "${cmd_han[@]}")
fig_m=$(peak_kib "${cmd_fig[@]}")
toi_m=$(peak_kib "${cmd_toi[@]}")

echo "word: \"$word\", $runs runs each (after 2 warm-up runs; the commands in turns), whole process, output to /dev/null"
echo "vomra-cli: $cli (one executable: FreeType and fontconfig, no Qt)"
printf '%-26s %12s %16s %14s\n' "command" "median ms" "peak RSS KiB" "output lines"
printf '%-26s %12s %16s %14s\n' "vomra-cli art $word" "$(ms "$cli_t")" "$cli_m" "$(wc -l <"$work/cli.out")"
printf '%-26s %12s %16s %14s\n' "figlet $word" "$(ms "$fig_t")" "$fig_m" "$(wc -l <"$work/figlet.out")"
printf '%-26s %12s %16s %14s\n' "toilet $word" "$(ms "$toi_t")" "$toi_m" "$(wc -l <"$work/toilet.out")"
printf '%-29s %12s %16s %14s\n' "vomra-cli art 艺术字" "$(ms "$han_t")" "$han_m" "$("$cli" art 艺术字 | wc -l)"
printf '%-26s %12s\n' "vomra-cli --version" "$(ms "$ver_t")"
printf '%-26s %12s\n' "vomra-cli width (1 line)" "$(ms "$wid_t")"
printf '%-26s %12s\n' "vomra-cli grind (bitmap)" "$(ms "$gri_t")"
baseline_line "$true_t"
echo "time   vomra-cli / figlet: $(ratio "$cli_t" "$fig_t")x   vomra-cli / toilet: $(ratio "$cli_t" "$toi_t")x"
echo "memory vomra-cli / figlet: $(ratio "$cli_m" "$fig_m")x   vomra-cli / toilet: $(ratio "$cli_m" "$toi_m")x"
echo "艺术字: time / figlet's word $(ratio "$han_t" "$fig_t")x, memory $(ratio "$han_m" "$fig_m")x   (targets: time <= 2.5x, memory <= 4x)"
echo "against /bin/true: --version $(ratio "$ver_t" "$true_t")x   width $(ratio "$wid_t" "$true_t")x   grind $(ratio "$gri_t" "$true_t")x   art $(ratio "$cli_t" "$true_t")x   figlet $(ratio "$fig_t" "$true_t")x"
