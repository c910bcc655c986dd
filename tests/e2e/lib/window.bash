# Shared by the end-to-end scripts and tools that drive the real program under X.

# Prints the main window's id once it is up. A search fails outright when a window
# vanishes while it walks the tree (the splash closes just then), so it is
# retried, and asked once more after the start has settled.
mainWindow() {
  local w=
  for _ in $(seq 150); do
    w=$(xdotool search --onlyvisible --name '^Vomra 2003 v2.0$' 2>/dev/null | head -n 1) && [ -n "$w" ] && break
    sleep 0.2
  done
  [ -n "$w" ] && sleep 2 && xdotool search --onlyvisible --name '^Vomra 2003 v2.0$' 2>/dev/null | head -n 1
}

# Closes a window with Alt+F4 through the window manager and waits for process
# $2 to end. The key can reach the window before the manager has given it the
# focus (just after it was mapped or moved), so it is pressed again, up to three
# times, while the process is still there.
closeWithKeys() {
  local win=$1 pid=$2
  for _ in 1 2 3; do
    xdotool windowactivate --sync "$win" key --clearmodifiers alt+F4 2>/dev/null || true
    for _ in $(seq 25); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.2; done
  done
  return 1
}

# Like closeWithKeys, for a run that may have left edits in the recipe editor:
# the question whether to save them ("确认") is answered 否.
closeDiscardingEdits() {
  local win=$1 pid=$2 box
  for _ in 1 2 3; do
    xdotool windowactivate --sync "$win" key --clearmodifiers alt+F4 2>/dev/null || true
    for _ in $(seq 25); do
      kill -0 "$pid" 2>/dev/null || return 0
      box=$(xdotool search --all --onlyvisible --pid "$pid" --name '^确认$' 2>/dev/null | head -n 1) || true
      if [ -n "$box" ]; then
        xdotool windowactivate --sync "$box" key --clearmodifiers n 2>/dev/null || true
      fi
      sleep 0.2
    done
  done
  return 1
}

# The usual start of a script: $build and $root, a scratch program folder $work
# holding a copy of the program, and openbox running ($wm); both go at exit.
startInProgramFolder() {
  build=${VOMRA_BUILD:?}
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
  work=$(mktemp -d)
  openbox >/dev/null 2>&1 & wm=$!
  trap 'kill $wm 2>/dev/null; rm -rf "$work"' EXIT
  sleep 1
  cp "$build/src/app/vomra" "$work/"
}
