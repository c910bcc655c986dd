#!/usr/bin/env bash
# Random-input soak of the real window: random clicks, drags, wheel turns, keys,
# shortcuts and CJK text against vomra under Xvfb with openbox, for a while.
# Run it against the sanitizer build to catch memory faults as well as crashes.
# It fails when the program dies, reports a sanitizer finding, or stops
# answering; the last actions before the failure are printed.
#
# Usage: tools/soak/soak.sh [-m MINUTES] [-s SEED] [-t THEME]
#   MINUTES  how long (default 2; fractions allowed)
#   SEED     seed of the action sequence (default: the time); a failure is
#            replayed by running again with its seed
#   THEME    theme index written into QOBR.Ini before the start (0: classic)
# VOMRA_BUILD: the build folder holding src/app/vomra (default build/).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
minutes=2 seed=$(date +%s) theme=0
while getopts m:s:t: opt; do
  case $opt in
    m) minutes=$OPTARG ;;
    s) seed=$OPTARG ;;
    t) theme=$OPTARG ;;
    *) sed -n '2,15p' "$0" >&2; exit 2 ;;
  esac
done
build=$(realpath "${VOMRA_BUILD:-$root/build}")
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" -m "$minutes" -s "$seed" -t "$theme"
fi
source "$root/tests/e2e/lib/window.bash"

work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

# A portable program folder with the shipped settings, themes and library.
cp "$build/src/app/vomra" "$work/"
iconv -f GBK -t UTF-8 "$root/assets/QOBR.Ini" | sed "s/^方案=.*/方案=$theme/" | iconv -f UTF-8 -t GBK >"$work/QOBR.Ini"
cp -R "$root/assets/Theme" "$work/Theme"
[ -d "$root/assets/recipes" ] && cp -R "$root/assets/recipes/." "$work/"
convert -size 64x48 gradient:white-black BMP3:"$work/picture.bmp"

openbox >/dev/null 2>&1 & pids+=($!)
sleep 1
starts=0
start() {
  ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1} \
    "$work/vomra" >>"$work/vomra.log" 2>&1 & pid=$!
  pids+=($pid)
  starts=$((starts + 1))
  win=$(mainWindow) || { echo "soak: the main window did not appear" >&2; cat "$work/vomra.log" >&2; exit 1; }
}
start

RANDOM=$seed
log="$work/actions.log"
: >"$log"
texts=(中文 你好世界 "Hello 世界" ★☆ "１２３" 艺术字 "a b" 。，、)
keys=(Return Escape Tab BackSpace Delete Up Down Left Right Home End Page_Up Page_Down space F1 F2 F3
      ctrl+a ctrl+c ctrl+x ctrl+v ctrl+z ctrl+y shift+Insert ctrl+Insert shift+Delete
      shift+Tab shift+Down ctrl+End ctrl+Home Menu)

# The close button of a skin and the menu's "退出" end the program: not aimed at
# (where a skin shifts them, a normal exit just starts the program again).
forbidden() { # x y (window coordinates)
  local x=$1 y=$2
  { [ "$y" -lt 30 ] && [ "$x" -gt $((W - 90)) ]; } && return 0
  { [ "$x" -lt 160 ] && [ "$y" -ge 186 ] && [ "$y" -le 224 ]; } && return 0
  return 1
}
pick() { # sets px py inside the window, away from the forbidden spots
  while :; do
    px=$((RANDOM % W)) py=$((RANDOM % H))
    forbidden "$px" "$py" || return 0
  done
}
act() { echo "$*" >>"$log"; }

# Alive and answering: the process runs and its window still takes a repaint
# request within a few seconds (a blocked event loop leaves the damage pending).
alive() { kill -0 "$pid" 2>/dev/null; }

failed() {
  echo "soak: $1 (seed $seed, theme $theme, after $n actions)" >&2
  echo "soak: last actions:" >&2
  tail -n 25 "$log" | sed 's/^/  /' >&2
  echo "soak: program output:" >&2
  tail -n 60 "$work/vomra.log" | sed 's/^/  /' >&2
  exit 1
}

end=$((SECONDS + $(awk "BEGIN { printf \"%d\", $minutes * 60 }")))
n=0
while [ $SECONDS -lt $end ]; do
  # The window may have been moved, resized or replaced by a dialog; follow the
  # top-most of the program's windows.
  top=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | tail -n 1) || true
  target=${top:-$win}
  eval "$(xdotool getwindowgeometry --shell "$target" 2>/dev/null | sed 's/^/G/')" || true
  W=${GWIDTH:-640} H=${GHEIGHT:-480}
  [ "$W" -gt 20 ] || W=640
  [ "$H" -gt 20 ] || H=480
  n=$((n + 1))
  case $((RANDOM % 10)) in
    0|1|2) pick; b=$(( (RANDOM % 6 == 0) ? 3 : ((RANDOM % 8 == 0) ? 2 : 1) ))
           act "click $b at $px,$py"
           xdotool mousemove --window "$target" "$px" "$py" click "$b" 2>/dev/null || true ;;
    3)     pick; act "double click at $px,$py"
           xdotool mousemove --window "$target" "$px" "$py" click --repeat 2 --delay 90 1 2>/dev/null || true ;;
    4)     pick; x0=$px y0=$py; pick
           act "drag $x0,$y0 -> $px,$py"
           xdotool mousemove --window "$target" "$x0" "$y0" mousedown 1 \
             mousemove --window "$target" $(((x0 + px) / 2)) $(((y0 + py) / 2)) \
             mousemove --window "$target" "$px" "$py" mouseup 1 2>/dev/null || true ;;
    5)     pick; d=$(( RANDOM % 2 ? 4 : 5 )); act "wheel $d at $px,$py"
           xdotool mousemove --window "$target" "$px" "$py" click --repeat 3 "$d" 2>/dev/null || true ;;
    6|7)   k=${keys[RANDOM % ${#keys[@]}]}; act "key $k"
           xdotool key --clearmodifiers "$k" 2>/dev/null || true ;;
    8)     t=${texts[RANDOM % ${#texts[@]}]}; act "type $t"
           xdotool type --delay 5 "$t" 2>/dev/null || true ;;
    9)     i=$((RANDOM % 6 + 1)); [ $i -eq 5 ] && i=4; act "menu item $i"
           xdotool mousemove --window "$win" 72 $((61 + 24 * (i - 1))) click 1 2>/dev/null || true ;;
  esac
  if ! alive; then
    wait "$pid" && status=0 || status=$?
    [ "$status" -eq 0 ] || failed "the program ended (status $status)"
    act "closed normally: started again"
    start
  fi
  if grep -q -e 'ERROR: AddressSanitizer' -e 'runtime error:' -e 'ERROR: LeakSanitizer' "$work/vomra.log"; then
    failed "a sanitizer finding"
  fi
done

# Still answering at the end: it must close on request and exit 0.
act "close"
# Typed text may wait in the recipe editor: its question is answered 否.
if ! closeDiscardingEdits "$win" "$pid"; then
  # A modal box may hold the focus: take them all down first.
  for _ in 1 2 3 4 5; do xdotool key Escape; sleep 0.2; done
  closeDiscardingEdits "$win" "$pid" || failed "the program no longer answers"
fi
wait "$pid" && status=0 || status=$?
[ "$status" -eq 0 ] || failed "exit status $status"
! grep -q -e 'ERROR: AddressSanitizer' -e 'runtime error:' "$work/vomra.log" || failed "a sanitizer finding"
echo "soak: ok, $n actions in $minutes min, $starts start(s) (seed $seed, theme $theme)"
