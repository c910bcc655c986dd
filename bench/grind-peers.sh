#!/usr/bin/env bash
# Whole-process cost of `vomra-cli grind` next to jp2a and img2txt on the same
# generated photo-like picture: median wall time per run over N runs and peak
# resident memory, at 1 MP and 12 MP. vomra-cli reads the 24-bit BMP, jp2a a
# JPEG of it (quality 90), img2txt the BMP. vomra-cli gives one character per
# pixel, so the peers are asked for one character per pixel as well
# (jp2a --size=WxH, img2txt -W W -H H). One extra vomra-cli run with
# VOMRA_GRIND_TIMING set shows where its time goes. The peers are installed here when
# missing (they are only needed for this bench).
#   bench/grind-peers.sh [runs] [WxH ...]   (defaults 10, 1152x864 4000x3000)
#   VOMRA_BUILD=/path/to/build              (default: build/ of this checkout)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-10}
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1152x864 4000x3000)
build=${VOMRA_BUILD:-$root/build}
cli="$build/src/cli/vomra-cli"
[ -x "$cli" ] || { echo "grind-peers: no $cli (build vomra-cli, or set VOMRA_BUILD)" >&2; exit 1; }
command -v convert >/dev/null || { echo "grind-peers: needs ImageMagick's convert" >&2; exit 1; }
# The grinder's start ramp, darkest first; jp2a gets the same one (its palette
# also runs from black to white).
ramp='MNHQ$OC?7>!":'"'"'-;. '

# The peers are Debian packages; setup installs the missing ones only.
"$root/scripts/setup" jp2a caca-utils time

warmups=1
. "$root/bench/peers-lib.sh"
ms() { awk -v u="$1" 'BEGIN {printf "%.1f", u / 1000}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "$runs runs each (after 1 warm-up run; the commands in turns), whole process, output to /dev/null"
echo "vomra-cli: $cli; ramp for vomra-cli and jp2a: '$ramp'; img2txt: -f utf8 (its plainest text form, with colour codes), default dithering"
for size in "${sizes[@]}"; do
  w=${size%x*} h=${size#*x}
  # Plasma noise: smooth gradients with fine detail, like a photograph; fixed seed.
  convert -seed 7 -size "$size" plasma:fractal -type TrueColor "BMP3:$work/pic.bmp"
  convert "$work/pic.bmp" -quality 90 "$work/pic.jpg"
  pixels=$((w * h))
  data_kib=$((pixels * 3 / 1024))

  cmd_cli=("$cli" grind "$work/pic.bmp")
  cmd_jp2a=(jp2a --chars="$ramp" --size="${w}x${h}" "$work/pic.jpg")
  cmd_caca=(img2txt -W "$w" -H "$h" -f utf8 "$work/pic.bmp")
  for name in cli jp2a caca; do
    declare -n cmd="cmd_$name"
    "${cmd[@]}" >"$work/$name.out" 2>"$work/$name.err" || { echo "grind-peers: $name failed: $(cat "$work/$name.err")" >&2; exit 1; }
    unset -n cmd
  done
  # Measured in turns, so the machine's load weighs on each alike.
  cmd_true=(/bin/true)
  { read -r cli_t; read -r jp_t; read -r ca_t; read -r true_t; } < <(medians_us cmd_cli cmd_jp2a cmd_caca cmd_true)
  cli_m=$(peak_kib "${cmd_cli[@]}")
  jp_m=$(peak_kib "${cmd_jp2a[@]}")
  ca_m=$(peak_kib "${cmd_caca[@]}")

  echo
  echo "picture ${w}x${h} ($(awk -v p="$pixels" 'BEGIN {printf "%.1f", p / 1e6}') MP, 24-bit pixel data $data_kib KiB;" \
       "BMP $(($(stat -c %s "$work/pic.bmp") / 1024)) KiB, JPEG $(($(stat -c %s "$work/pic.jpg") / 1024)) KiB)"
  printf '%-40s %11s %14s %16s %14s\n' "command" "median ms" "peak RSS KiB" "RSS / pixel data" "output KiB"
  row() { printf '%-40s %11s %14s %16s %14s\n' "$1" "$(ms "$2")" "$3" "$(ratio "$3" "$data_kib")" "$(($(stat -c %s "$4") / 1024))"; }
  row "vomra-cli grind pic.bmp" "$cli_t" "$cli_m" "$work/cli.out"
  row "jp2a --size=${w}x${h} pic.jpg" "$jp_t" "$jp_m" "$work/jp2a.out"
  row "img2txt -W $w -H $h -f utf8 pic.bmp" "$ca_t" "$ca_m" "$work/caca.out"
  # One more run with the split reported on stderr (decode, grind, write).
  VOMRA_GRIND_TIMING=1 "${cmd_cli[@]}" 2>"$work/timing" >/dev/null
  echo "vomra-cli split: $(grep '^grind timing:' "$work/timing" | sed 's/^grind timing: //')"
  baseline_line "$true_t"
  echo "speed-up of vomra-cli: $(ratio "$jp_t" "$cli_t")x against jp2a, $(ratio "$ca_t" "$cli_t")x against img2txt"
  echo "memory vomra-cli / jp2a: $(ratio "$cli_m" "$jp_m")x   vomra-cli / img2txt: $(ratio "$cli_m" "$ca_m")x"
done
