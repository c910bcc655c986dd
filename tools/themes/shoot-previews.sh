#!/usr/bin/env bash
# Photographs the real program wearing each shipped theme under Xvfb and stores
# the pictures: assets/Theme/<folder>/Preview.bmp (what the theme page shows)
# and docs/themes.png (a contact sheet for the README).
#   tools/themes/shoot-previews.sh [build dir]      (run it inside xvfb-run)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$root/build}
work=$(mktemp -d)
trap 'kill ${wm:-0} 2>/dev/null; rm -rf "$work"' EXIT
openbox >/dev/null 2>&1 & wm=$!
sleep 1
folders=(Glass Graphite Paper)
shots=()
for n in 1 2 3; do
  dir="$work/$n"
  mkdir -p "$dir"
  cp "$build/src/app/vomra" "$dir/"
  cp -R "$root/assets/Theme" "$dir/Theme"
  printf '[\xbd\xe7\xc3\xe6\xb7\xbd\xb0\xb8]\r\n\xb7\xbd\xb0\xb8=%d\r\n' "$n" > "$dir/QOBR.Ini"
  "$dir/vomra" & pid=$!
  win=$(timeout 30 xdotool search --sync --onlyvisible --name '^Vomra 2003 v2.0$' | head -n 1)
  sleep 1.5
  eval "$(xdotool getwindowgeometry --shell "$win")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/window$n.png"
  if [ "$n" = 2 ]; then
    # The theme page, opened from the left menu's fourth item.
    xdotool mousemove $((X + 89)) $((Y + 161)) click 1
    sleep 1
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/page.png"
  fi
  kill "$pid"; wait "$pid" || true
  convert "$work/window$n.png" -resize 256x192\! -type TrueColor "BMP3:$root/assets/Theme/${folders[$((n - 1))]}/Preview.bmp"
  shots+=("$work/window$n.png")
done
mkdir -p "$root/docs"
montage "${shots[@]}" "$work/page.png" -tile 2x2 -geometry +8+8 -background '#202020' "$root/docs/themes.png"
echo "previews and docs/themes.png written"
