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
