#!/usr/bin/env bash
# Builds Trimvex.exe and starts it under Wine. With a display the window
# opens there; without one it runs on a virtual display, a screenshot is
# saved a few seconds after start (the outdated-version notice may be on
# it), the notice is answered and the program closed again; one that does
# not end within its bound is ended, and the script says so. The Wine
# path (32-bit, or 64-bit where the host runs no 32-bit code, or as TV_BITS
# says) is chosen once and printed.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"

tools/ensure-deps.sh
source tools/wine-path.sh
tv_choose_wine_path
if [ "$TV_BITS" = 32 ]; then tree=cross; prefix=run; else tree=cross64; prefix=run64; fi
tools/build.sh "$tree" --target Trimvex --target tvdriver

export TV_WINEPREFIX="$root/build/wine/$prefix"
source tools/wine-env.sh || { echo "tools/wine-env.sh failed" >&2; exit 1; }
tools/wine-prefix.sh
exe="$tv_cross/Trimvex.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$tv_loader" "$exe"
fi

source tools/display.sh
tv_start_xvfb
export DISPLAY=$TV_DISPLAY
trap 'wineserver -k >/dev/null 2>&1 || true; tv_stop_xvfb' EXIT
wineserver -p
tv_wine_start || exit 1

tv_wine "$exe" >/dev/null 2>&1 &
program=$!
driver="$tv_cross/tvdriver.exe"
tv_wine "$driver" wait-window 30000 >/dev/null 2>&1 || { echo "Trimvex did not open its window" >&2; exit 1; }
sleep 3
mkdir -p build/screenshots
shot="$root/build/screenshots/run.png"
/usr/bin/import -window root "$shot"
tv_wine "$driver" close 10000 >/dev/null 2>&1 || echo "Trimvex did not close cleanly" >&2
# Never an unbounded wait for the program.
for _ in $(seq 1 50); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then
  echo "Trimvex was still running; it was ended" >&2
  kill "$program" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
fi
wait "$program" 2>/dev/null || true
echo "$shot"
