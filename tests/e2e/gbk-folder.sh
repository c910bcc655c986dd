#!/usr/bin/env bash
# The program started from a folder named in GBK bytes (秘籍), as an archive
# unpacked on a Chinese Windows leaves it: the built program folder copied there
# whole. The window must find everything beside it: its size and theme from
# QOBR.Ini (700 x 500, the Graphite skin: no window-manager frame), the starter
# recipes in the tree (the same tree as from a folder with a plain name), the
# help file of that very folder (F1), and on closing its settings written back there.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/window.bash"
startInProgramFolder
fail() { echo "gbk-folder: $*" >&2; exit 1; }
gbk="$work/$(printf '\xc3\xd8\xbc\xae')" # 秘籍 in GBK bytes
plain="$work/plain"
mkdir -p "$work/bin"
cat > "$work/bin/xdg-open" <<EOS
#!/bin/sh
printf '%s\n' "\$@" >> "$work/opened"
EOS
chmod +x "$work/bin/xdg-open"
for dir in "$gbk" "$plain"; do
  mkdir "$dir"
  cp -R "$build/src/app/vomra" "$build/src/app/QOBR.Ini" "$build/src/app/QOBR.CHM" "$build/src/app/Theme" \
    "$build/src/app/Vomra秘笈" "$dir/"
  # 宽度=700, 高度=500 and 方案=2 (Graphite), in GBK like the rest of the file.
  iconv -f gbk -t utf-8 "$build/src/app/QOBR.Ini" |
    sed 's/^宽度=.*/宽度=700\r/; s/^高度=.*/高度=500\r/; s/^方案=.*/方案=2\r/' | iconv -f utf-8 -t gbk > "$dir/QOBR.Ini"
done

# Starts the copy in $1, checks what the window shows, leaves the tree's picture
# in $2 and closes the window.
run() {
  local dir=$1 shot=$2 pid win frame
  touch -d '1 hour ago' "$dir/QOBR.Ini"
  PATH="$work/bin:$PATH" "$dir/vomra" & pid=$!
  win=$(mainWindow) || { kill $pid; fail "no main window from $dir"; }
  eval "$(xdotool getwindowgeometry --shell "$win")"
  [ "$WIDTH x $HEIGHT" = "700 x 500" ] || { kill $pid; fail "the window is $WIDTH x $HEIGHT, not the 700 x 500 of QOBR.Ini"; }
  frame=$(xwininfo -id "$win" -children | awk '/Parent window id/ {print $4}')
  [ "$(xwininfo -id "$frame" | awk '/Width:/ {print $2}')" = 700 ] || { kill $pid; fail "a window-manager frame: the skin was not worn"; }
  # The recipe tree in the left column, its one folder opened.
  xdotool mousemove --window "$win" 100 303 click 1
  sleep 1
  import -window "$win" -crop 170x190+18+290 +repage "$shot"
  : > "$work/opened"
  xdotool windowactivate --sync "$win" key F1
  for _ in $(seq 50); do [ -s "$work/opened" ] && break; sleep 0.2; done
  closeWithKeys "$win" $pid || { kill $pid; fail "alt+F4 did not end the program"; }
  wait $pid || fail "exit status $?"
  [ "$dir/QOBR.Ini" -nt "$dir/QOBR.CHM" ] || fail "QOBR.Ini was not written on closing"
}

run "$gbk" "$work/gbk.png"
# The opener gets the help file by its bytes (percent-encoded in the URL).
[ "$(cat "$work/opened")" = "file://$work/%C3%D8%BC%AE/QOBR.CHM" ] || fail "F1 opened $(cat "$work/opened")"
grep -a -q $'^\xb7\xbd\xb0\xb8=2\r$' "$gbk/QOBR.Ini" || fail "the theme index was not kept in QOBR.Ini"
run "$plain" "$work/plain.png"
[ "$(convert "$work/gbk.png" -format %k info:)" -gt 8 ] || fail "the recipe tree is empty"
compare -metric AE "$work/gbk.png" "$work/plain.png" null: 2>/dev/null ||
  fail "the recipe tree differs from the one of a plainly named folder"
echo "gbk-folder: ok"
