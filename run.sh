#!/usr/bin/env bash
# Builds Trimvex.exe and starts it under Wine. With a display the window
# opens there; without one it runs on a virtual display, a screenshot is
# saved a few seconds after start, and the program is closed again.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"

tools/ensure-deps.sh
tools/build.sh cross --target Trimvex --target tvdriver

export TV_WINEPREFIX="$root/build/wine/run"
{ source tools/wine-env.sh; } 2>/dev/null
tools/wine-prefix.sh
exe="$root/build/cross/Trimvex.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec wine "$exe"
fi

source tools/display.sh
tv_start_xvfb
export DISPLAY=$TV_DISPLAY
trap 'wineserver -k >/dev/null 2>&1 || true; tv_stop_xvfb' EXIT
wineserver -p
wine cmd /c exit >/dev/null 2>&1

wine "$exe" >/dev/null 2>&1 &
program=$!
driver="$root/build/cross/tvdriver.exe"
wine "$driver" wait-window 30000 >/dev/null 2>&1 || { echo "Trimvex did not open its window" >&2; exit 1; }
sleep 3
mkdir -p build/screenshots
shot="$root/build/screenshots/run.png"
/usr/bin/import -window root "$shot"
wine "$driver" close 10000 >/dev/null 2>&1 || echo "Trimvex did not close cleanly" >&2
wait "$program" || true
echo "$shot"
