# Shared by the end-to-end scripts and tools that drive the real program under X.

# Prints the main window's id once it is up. The first X window of that name may
# be replaced right after it shows, so look again after a pause rather than trust
# the first answer.
mainWindow() {
  local w=
  for _ in $(seq 150); do
    w=$(xdotool search --onlyvisible --name '^Vomra 2003 v2.0$' 2>/dev/null | head -n 1) && [ -n "$w" ] && break
    sleep 0.2
  done
  [ -n "$w" ] && sleep 2 && xdotool search --onlyvisible --name '^Vomra 2003 v2.0$' 2>/dev/null | head -n 1
}
