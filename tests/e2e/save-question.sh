#!/usr/bin/env bash
# Unsaved recipe edits in the real program under Xvfb with openbox: leaving the
# recipe for another node and closing the window ask "是否保存对“<name>”的修改？";
# 是 writes the file, 否 drops the edits, 取消 stays. The files on disk tell.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/window.bash"
startInProgramFolder
cp "$root/assets/QOBR.Ini" "$work/"
mkdir "$work/Lib"
fail() { echo "save-question: $*" >&2; import -window root "${VOMRA_E2E_SHOT:-$work/fail.png}" 2>/dev/null || true
         tail -n 20 "$work/vomra.log" >&2; kill $pid 2>/dev/null; exit 1; }

# Points in the window: the folder row of the tree and its two recipes below
# it (selecting the folder opens it), and the editor.
folderRow="96 275"; rowA="130 295"; rowB="130 315"; editor="406 238"

start() {
  printf 'alpha\r\n' >"$work/Lib/a.Txt"
  printf 'beta\r\n' >"$work/Lib/b.Txt"
  "$work/vomra" >"$work/vomra.log" 2>&1 & pid=$!
  win=$(mainWindow) || fail "no window"
  xdotool windowactivate --sync "$win"
  click $folderRow
}
alive() { kill -0 $pid 2>/dev/null || fail "the program died ${1:-}"; }
click() { xdotool mousemove --window "$win" "$1" "$2" click 1 2>/dev/null; sleep 0.4; alive "at a click"; }
# Types at the start of the shown recipe.
typeInEditor() { click $editor; xdotool key --clearmodifiers ctrl+Home; xdotool type --delay 30 "$1"; sleep 0.3; }
question() { xdotool search --all --onlyvisible --pid "$pid" --name '^确认$' 2>/dev/null | head -n 1 || true; }
# Waits for the question and answers it with a key: y (是), n (否) or Escape (取消).
answer() {
  local box=
  for _ in $(seq 25); do box=$(question) && [ -n "$box" ] && break; sleep 0.2; done
  [ -n "$box" ] || fail "no question before answering $1"
  [ -z "${VOMRA_E2E_QUESTION:-}" ] || import -window root "$VOMRA_E2E_QUESTION"
  xdotool windowactivate --sync "$box" key --clearmodifiers "$1"
  sleep 0.5
}
noQuestion() { local q; sleep 0.5; q=$(question); [ -z "$q" ] || fail "asked $1 ($q: $(xdotool getwindowname "$q"))"; }
hasBytes() { # file, expected text (printf format)
  [ "$(od -An -tx1 "$work/Lib/$1")" = "$(printf "$2" | od -An -tx1)" ] ||
    fail "$1 holds '$(cat -v "$work/Lib/$1")' $3"
}
closeWindow() { xdotool windowactivate --sync "$win" key --clearmodifiers alt+F4 2>/dev/null || true; }
ended() { for _ in $(seq 25); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done
          ! kill -0 $pid 2>/dev/null || fail "still running $1"
          status=0; wait $pid || status=$?; [ $status -eq 0 ] || fail "exit status $status $1"; }

start
# Only an edit makes a question: a, b, a again without typing.
click $rowA; click $rowB; click $rowA
noQuestion "without edits"

# Another node: 取消 stays on a with the edits, 否 leaves them unsaved, and the
# edit of b then saved with 是 before going back to a.
typeInEditor x
click $rowB; answer Escape
hasBytes a.Txt 'alpha\r\n' "after 取消"
typeInEditor y
click $rowB; answer n
hasBytes a.Txt 'alpha\r\n' "after 否"
typeInEditor z
click $rowA; answer y
hasBytes b.Txt 'zbeta\r\n' "after 是 on leaving b"
hasBytes a.Txt 'alpha\r\n' "(a was left with 否)"
# Saved: no question any more.
click $rowB; noQuestion "after saving"; click $rowA

# Closing: 取消 keeps the window, 是 saves and ends.
typeInEditor w
closeWindow; answer Escape
alive "after 取消 on closing"
hasBytes a.Txt 'alpha\r\n' "after 取消 on closing"
typeInEditor v
closeWindow; answer y
ended "after 是 on closing"
hasBytes a.Txt 'vwalpha\r\n' "after 是 on closing"

# 否 on closing ends without writing.
start
click $rowA
typeInEditor u
closeWindow; answer n
ended "after 否 on closing"
hasBytes a.Txt 'alpha\r\n' "after 否 on closing"
echo "save-question: ok"
