#!/usr/bin/env bash
# The real program under Xvfb with recipes as people receive them: one line of
# 20 MB under a GBK file name, and a UTF-8 recipe of many short lines holding
# no-break spaces and word joiners. Saved unedited, the UTF-8 one is the same
# file; the huge one takes Ctrl+End and two letters while it loads and is saved
# as it was plus those letters. Meanwhile a probe asks the program for the
# clipboard every 50 ms: until the save no answer may take 250 ms or more.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/window.bash"
startInProgramFolder
mkdir -p "$work/Lib"
huge="$work/Lib/$(printf '\xd0\xc2\xc4\xea').Txt" # 新年 in GBK bytes
python3 - "$huge" "$work/Lib/u8.Txt" <<'PY'
import sys
unit = "长文字 ASCII 也有，".encode("gbk")
open(sys.argv[1], "wb").write(unit * (20 * 1024 * 1024 // len(unit)))
lines = []
for i in range(60000):
    lines.append("第%d行\u00a0文字\u2060 text" % i)
open(sys.argv[2], "wb").write(b"\xef\xbb\xbf" + "\r\n".join(lines).encode("utf-8"))
PY
cp "$huge" "$work/huge.orig"
cp "$work/Lib/u8.Txt" "$work/u8.orig"
"$work/vomra" & pid=$!
win=$(mainWindow) || { echo "huge-recipe: no main window" >&2; kill $pid; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$win")"
tree_x=$((X + 76)) tree_y=$((Y + 254)) row=22
save_x=$((X + 266)) save_y=$((Y + 56))     # the save label
text_x=$((X + 406)) text_y=$((Y + 216))    # inside the editor
fail() { echo "huge-recipe: $*" >&2; closeDiscardingEdits "$win" $pid || kill $pid; exit 1; }
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.4; }
noQuestion() {
  ! xdotool search --all --onlyvisible --pid $pid --name '^确认$' >/dev/null 2>&1 || fail "a question was asked ($1)"
}

click $tree_x $tree_y # Lib opens: u8, then the GBK-named recipe
click $tree_x $((tree_y + row))
sleep 3
# The program takes the clipboard (a line copied), so that the probe asks it.
click $text_x $text_y
xdotool key ctrl+Home shift+End ctrl+c
sleep 0.5
[ -n "$(xclip -o -selection clipboard)" ] || fail "nothing was copied"
click $save_x $save_y
sleep 1
noQuestion "saving u8 unedited"
cmp -s "$work/Lib/u8.Txt" "$work/u8.orig" || fail "u8.Txt changed when saved unedited"

# The probe: per answer, its time and when it was asked, in microseconds.
( while :; do
    t0=${EPOCHREALTIME/./}
    timeout 5 xclip -o -selection clipboard >/dev/null 2>&1 || true
    echo $(( ${EPOCHREALTIME/./} - t0 )) ${t0}
    sleep 0.05
  done ) >"$work/probe" & probe=$!
click $tree_x $((tree_y + 2 * row))
click $text_x $text_y
xdotool key ctrl+End
xdotool type --delay 150 OK
sleep 8 # the load, and the keys that waited for it
saved_at=${EPOCHREALTIME/./}
click $save_x $save_y
sleep 2
kill $probe
noQuestion "saving the huge recipe"
import -window root "${VOMRA_SHOT:-/dev/null}" 2>/dev/null || true
expected=$(stat -c %s "$work/huge.orig")
[ "$(stat -c %s "$huge")" -eq $((expected + 2)) ] || fail "the huge recipe has $(stat -c %s "$huge") bytes, not $((expected + 2))"
cmp -s <(head -c "$expected" "$huge") "$work/huge.orig" || fail "the huge recipe's text changed"
[ "$(tail -c 2 "$huge")" = OK ] || fail "the typed letters are not at the end"
# Loading and the keys are held to the target; writing 20 MB at once is told.
longest=$(awk -v at="$saved_at" '$2 < at && $1 > m { m = $1 } END { print m + 0 }' "$work/probe")
saving=$(awk -v at="$saved_at" '$2 >= at && $1 > m { m = $1 } END { print m + 0 }' "$work/probe")
echo "huge-recipe: $(wc -l <"$work/probe") probe answers; the longest $((longest / 1000)) ms while loading and typing, $((saving / 1000)) ms around the save"
[ "$longest" -lt 250000 ] || fail "the window stood still for $((longest / 1000)) ms"
closeDiscardingEdits "$win" $pid || fail "the window did not close"
echo "huge-recipe: ok"
