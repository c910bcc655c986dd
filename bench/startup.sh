#!/usr/bin/env bash
# Start-up time of the desktop program, from process start to the main window
# shown and painted, over N runs (median, min, max), and the resident memory of
# the idle program once it is up. Runs under Xvfb when there is no display.
# With a skin number the shipped themes are copied beside the program and that
# skin is in force (target: median under 100 ms); 0 is the classic look.
#   bench/startup.sh [runs] [skin]   (defaults 20 and 0; needs a built build/)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-20}
skin=${2:-0}
exe="$root/build/src/app/vomra"
[ -x "$exe" ] || { echo "startup: build first (scripts/build)" >&2; exit 1; }

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/"
if [ "$skin" != 0 ]; then
  cp -r "$root/assets/Theme" "$work/"
  iconv -f GBK -t UTF-8 "$root/assets/QOBR.Ini" | sed "/^\[界面方案\]/,/^\[/ s/^方案=.*/方案=$skin\r/" |
    iconv -f UTF-8 -t GBK >"$work/QOBR.Ini"
fi
times=()
rss=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  line=$(VOMRA_STARTUP_PROBE=1 "$work/vomra" 2>/dev/null | grep '^shown ')
  shown=$(echo "$line" | awk '{print $2}')
  times+=($(( (shown - start) / 1000000 )))
  rss+=($(echo "$line" | awk '{print $4}'))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
mem=($(printf '%s\n' "${rss[@]}" | sort -n))
echo "runs: $runs, skin: $skin$([ "$skin" = 0 ] && echo " (classic look)")"
echo "start-up to main window shown (ms): median ${sorted[$((runs / 2))]}, min ${sorted[0]}, max ${sorted[$((runs - 1))]}"
echo "resident memory when idle (KiB): median ${mem[$((runs / 2))]}"
