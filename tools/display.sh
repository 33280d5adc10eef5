# Sourced: starts a virtual X display for Wine's windows when needed.
# tv_start_xvfb sets TV_DISPLAY and TV_XVFB_PID; tv_stop_xvfb ends it. The
# screen holds the main window whole at 150% text size (1170 x 851).
tv_start_xvfb() {
  local n log
  log=$(mktemp)
  for n in $(seq 90 130); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$log" 2>&1 &
    TV_XVFB_PID=$!
    for _ in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export TV_DISPLAY=":$n"; rm -f "$log"; return 0; }
      kill -0 "$TV_XVFB_PID" 2>/dev/null || break
      sleep 0.05
    done
  done
  echo "could not start Xvfb; it printed:" >&2
  tail -n 20 "$log" >&2
  rm -f "$log"
  return 1
}

tv_stop_xvfb() {
  if [ -n "${TV_XVFB_PID:-}" ]; then
    kill "$TV_XVFB_PID" 2>/dev/null || true
    wait "$TV_XVFB_PID" 2>/dev/null || true
    TV_XVFB_PID=
  fi
}
