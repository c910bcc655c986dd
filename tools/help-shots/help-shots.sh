#!/usr/bin/env bash
# Makes the pictures of the help pages from the real program: starts vomra under
# Xvfb with openbox in a scratch program folder (the shipped QOBR.Ini, themes and
# starter library), goes through the pages with clicks on the left menu, and
# saves each window as help/images/<page>.png. Run it again after the pages
# change, then rebuild: the pictures are compiled into QOBR.CHM.
# Usage: tools/help-shots/help-shots.sh [OUTPUT_DIR]   (VOMRA_BUILD: the build folder)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${VOMRA_BUILD:-$root/build}
out=$(realpath -m "${1:-$root/help/images}")
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$out"
fi

work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

# A portable program folder: the executable beside its QOBR.Ini.
cp "$build/src/app/vomra" "$work/"
cp "$root/assets/QOBR.Ini" "$work/"
mkdir -p "$work/Theme"
[ -d "$root/assets/Theme" ] && cp -r "$root/assets/Theme/." "$work/Theme/"
[ -d "$root/assets/recipes" ] && cp -r "$root/assets/recipes/." "$work/"
convert "$root/assets/icons/hicolor/48x48/apps/vomra.png" -background white -flatten BMP3:"$work/picture.bmp"

source "$root/tests/e2e/lib/window.bash"

openbox >/dev/null 2>&1 & pids+=($!)
sleep 1
"$work/vomra" >/dev/null 2>&1 & pids+=($!)
win=$(mainWindow) || { echo "help-shots: the main window did not appear" >&2; exit 1; }
xdotool windowactivate --sync "$win"

# Positions inside the window (classic look, 192-pixel left column).
menuItem() { echo "72 $((61 + 24 * ($1 - 1)))"; } # Tag 1..7 of the left menu
make_label="375 81"                              # first tool label of the art font page
open_button="309 107"                            # "打开(&O)" of the picture grinder
first_tree_row="60 274"                           # the top row of the recipe tree
first_theme="394 91"                              # the first icon of the theme list

click() { xdotool mousemove --window "$win" $1 click 1; sleep "${2:-0.6}"; }
park() { xdotool mousemove --window "$win" 630 470; sleep 0.4; } # no hover marks in the picture
shot() { park; mkdir -p "$out"; import -frame -window "$win" "$work/$1.png";
         convert "$work/$1.png" -strip +repage -define png:compression-level=9 "$out/$1.png"; echo "help-shots: $out/$1.png"; }

shot start
# The left menu alone, for the page about the main window.
convert "$out/start.png" -crop 186x222+8+30 +repage -strip "$out/menu.png"

# The first folder of the library, then its first entry (a collection shows its first item).
click "$first_tree_row"
xdotool key Down
sleep 0.6
shot recipe

click "$(menuItem 1)"
click "$make_label" 1
shot artfont

click "$(menuItem 2)"
click "$open_button" 1.5
xdotool type --delay 20 "$work/picture.bmp"
xdotool key Return
sleep 1
click "$make_label" 1.5
shot picture

click "$(menuItem 3)"
# A box drawn on the board with the default pen.
stroke() { # x1 y1 x2 y2, along a straight line
  xdotool mousemove --window "$win" "$1" "$2" mousedown 1
  for i in $(seq 0 40); do
    xdotool mousemove --window "$win" $(($1 + ($3 - $1) * i / 40)) $(($2 + ($4 - $2) * i / 40))
  done
  xdotool mouseup 1
}
stroke 340 112 520 112; stroke 520 112 520 168; stroke 520 168 340 168; stroke 340 168 340 112
shot board

click "$(menuItem 4)"
click "$first_theme"
shot theme
