# The real vomra for the send tests: a program folder of its own with one
# recipe folder, and the clicks a user makes on its recipe page. Sourced after
# send-common.bash.
source "$(dirname "${BASH_SOURCE[0]}")/window.bash"
prog="$work/prog"
vomra=
vwin=

# Client-area positions in the classic look at the default size: the recipe
# page starts right of the 192-pixel left column and its 2-pixel splitter,
# below the 56-pixel title bar; its tool labels are 28x26 at left 58 + 32(n-1),
# top 8; the tree sits in the left column's second section.
label_x() { echo $((194 + 58 + 32 * ($1 - 1) + 14)); }
label_y=$((56 + 8 + 13))
editor_x=320
editor_y=200
tree_x=60
tree_y=276

gbk_file() { iconv -f UTF-8 -t GBK | sed 's/$/\r/' >"$1"; }

start_vomra() {
  mkdir -p "$prog/测试"
  cp "$build/src/app/vomra" "$prog/"
  printf '%s\n' '你好，世界 Hello' '  第二行 line 2' '第三行' | gbk_file "$prog/测试/短句.Txt"
  printf '%s\n' '[ItemList]' 'ItemCount=1' 'ItemName1=问候' '[问候]' '早上好 Good morning' '晚安' |
    gbk_file "$prog/测试/合集.Ini"
  if [ -n "${1:-}" ]; then printf '%s\n' "$@" | gbk_file "$prog/QOBR.Ini"; fi
  "$prog/vomra" >"$work/vomra.out" 2>&1 & vomra=$!
  vwin=$(mainWindow) || fail "the main window did not appear"
}

stop_vomra() {
  [ -n "$vomra" ] || return 0
  kill "$vomra" 2>/dev/null; wait "$vomra" 2>/dev/null || true; vomra=
}

click_at() { xdotool mousemove --window "$vwin" "$1" "$2" click 1; }
click_label() { click_at "$(label_x "$1")" "$label_y"; }

# select_node N: the N-th node of the tree in its order (1: the folder 测试,
# 2: the collection 合集, 3: its item 问候, 4: the file 短句).
select_node() {
  xdotool windowactivate --sync "$vwin" 2>/dev/null
  click_at "$tree_x" "$tree_y"
  xdotool key Home
  for _ in $(seq 2 "$1"); do xdotool key Down; done
}

# Selects the whole text of the editor.
select_all_text() {
  click_at "$editor_x" "$editor_y"
  xdotool key ctrl+a
}

# The shown recipe, then all of its text selected.
select_recipe_text() { select_node "${1:-4}"; select_all_text; }

# Waits for a warning box of vomra with that title and closes it.
expect_warning() {
  local box
  box=$(timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1) ||
    fail "no warning box \"$1\""
  xdotool windowactivate --sync "$box" key Return 2>/dev/null
  wait_for "the warning box to close" sh -c "! xdotool search --onlyvisible --name '^$1\$' >/dev/null"
}
