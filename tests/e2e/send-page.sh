#!/usr/bin/env bash
# The recipe page's four send labels, in the real vomra, against the stand-in
# chat program under Xvfb with openbox: what arrives where and in which order,
# the warnings, and what the clipboard holds afterwards.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/lib/send-common.bash"
source "$here/lib/send-page.bash"

file_text='你好，世界 Hello\n  第二行 line 2\n第三行\n'
item_text='问候\n早上好 Good morning\n晚安'

# Ctrl+V typed into the chat program's window by hand: what the clipboard holds.
paste_by_hand() { xdotool windowactivate --sync "$(chat_window "$1")" key ctrl+v 2>/dev/null; }

start_wm
start_vomra

# No chat window: the warning, and the clipboard keeps what it held.
start_chat --clipboard 'earlier 早' --window 别的窗口 --at 0,0 --no-children
select_recipe_text
click_label 8
expect_warning '呜呜呜\.\.\.'
paste_by_hand w1
expect_events 'paste w1 window earlier 早'

# Paste only, a recipe file: the text in the input box, no click; the
# clipboard keeps the recipe text afterwards.
start_chat --window 发送消息 --at 0,0
select_recipe_text
click_label 8
wait_for "the paste" has_events 1
paste_by_hand w1
expect_events "paste w1 input $file_text" "paste w1 window $file_text"

# Paste and send into "对话模式": the click comes after the paste.
start_chat --window 对话模式 --at 0,0
select_recipe_text
click_label 11
expect_events "paste w1 input $file_text" 'click w1 send 40,12'

# A collection item (display mode): its blank lines between the lines go.
start_chat --window 发送消息 --at 0,0
select_recipe_text 3
click_label 10
expect_events "paste w1 input $item_text" 'click w1 send 40,12'

# "查看消息" open and no target: its reply button, then the warning.
start_chat --reply --at 500,0
select_recipe_text
click_label 9
expect_warning '呜呜呜\.\.\.'
expect_events 'click view reply 40,12'

# Two windows of one title: the top-most one gets the text.
start_chat --window 发送消息 --at 0,0 --window 发送消息 --at 450,0
xdotool windowactivate --sync "$(chat_window w1)" 2>/dev/null
select_recipe_text
click_label 8
expect_events "paste w1 input $file_text"

# A child that takes no input over the probe point: the window itself.
start_chat --window 发送消息 --at 0,0 --disabled 10,90,120,40 --input 10,200,380,150
select_recipe_text
click_label 8
expect_events "paste w1 window $file_text"

# A window too small for the probe point: the warning, nothing pasted.
start_chat --clipboard 'earlier 早' --window 发送消息 --at 0,0 --size 300x90
select_recipe_text
click_label 10
expect_warning '呜呜呜\.\.\.'
paste_by_hand w1
expect_events 'paste w1 window earlier 早'

# What another program sees offered after the copy label and after a send:
# plain text formats only.
offered() { xclip -o -selection clipboard -t TARGETS | grep -v -x -e TARGETS -e MULTIPLE -e TIMESTAMP -e SAVE_TARGETS | sort | tr '\n' ' '; }
start_chat --window 发送消息 --at 0,0
select_recipe_text
click_label 5
wait_for "the copy" sh -c "xclip -o -selection clipboard -t TARGETS >/dev/null 2>&1"
[ "$(offered)" = 'STRING TEXT UTF8_STRING text/plain ' ] || fail "the copy label offers: $(offered)"
click_label 8
wait_for "the paste" has_events 1
[ "$(offered)" = 'STRING TEXT UTF8_STRING text/plain ' ] || fail "after a send the clipboard offers: $(offered)"

# A chat program that asks for HTML first gets the plain text of an editor in
# edit mode, and Enter waits for it; with a clipboard keeper about, too.
start_chat --ask text/html,UTF8_STRING --window 发送消息 --at 0,0
select_recipe_text
click_label 10
expect_events "paste w1 input $file_text" 'click w1 send 40,12'
: >"$work/keeper-clip.log"
"$fakechat" --log "$work/keeper-clip.log" --keeper --window clipkeeper --at 900,700 --size 8x8 --no-children &
clipkeeper=$!
wait_for "the keeper" grep -qx ready "$work/keeper-clip.log"
start_chat --ask TARGETS,UTF8_STRING --window 发送消息 --at 0,0
select_recipe_text
click_label 10
expect_events "paste w1 input $file_text" 'click w1 send 40,12'
kill "$clipkeeper"


# The titles come from QOBR.Ini, read at every send; a window drawn in one
# piece takes the paste, and Enter for "并发送".
printf '%s\n' '[发送]' '窗口1=Chat with Bob' '窗口2=Room 7' | gbk_file "$prog/QOBR.Ini"
start_chat --window 'Chat with Bob' --at 0,0 --no-children --window 'Room 7' --at 450,0 --no-children
select_recipe_text
click_label 8
wait_for "the paste" has_events 1
select_recipe_text
click_label 11
expect_events "paste w1 window $file_text" "paste w2 window $file_text" 'enter w2 window'

echo "send-page: ok"
