#!/usr/bin/env bash
# Benchmark of the processes and services tabs under Wine: the processes
# tab's refresh with 100 extra processes running, and the services tab's
# scan, each next to a bare loop making the same platform calls; run twice,
# with the extra processes sharing one image and from distinct images.
# Usage: tools/bench-manage.sh [extra processes] [runs] [distinct images]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/ensure-deps.sh
source tools/wine-path.sh
tv_choose_wine_path
if [ "$TV_BITS" = 32 ]; then tree=cross; else tree=cross64; fi
tools/build.sh "$tree" --target tvbench-manage --target tv_sleeper >/dev/null

source tools/display.sh
source tools/wine-env.sh || { echo "tools/wine-env.sh failed" >&2; exit 1; }
export TV_WINEPREFIX=${TV_WINEPREFIX:-$root/build/wine/bench$([ "$TV_BITS" = 64 ] && echo 64)}
export WINEPREFIX=$TV_WINEPREFIX
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  tv_stop_xvfb
}
trap cleanup EXIT
TV_UNMANAGED=1 tools/wine-prefix.sh
tv_start_xvfb
export DISPLAY=$TV_DISPLAY
wineserver -p
tv_wine_start || exit 1

sleeper=$(tv_wine winepath.exe -w "$tv_cross/tests/tv_sleeper.exe")
echo "== the extra processes share one image"
tv_wine "$tv_cross/tests/tvbench-manage.exe" "$sleeper" "${1:-100}" "${2:-7}" | tr -d '\r'
echo "== the extra processes run from ${3:-30} distinct images"
tv_wine "$tv_cross/tests/tvbench-manage.exe" "$sleeper" "${1:-100}" "${2:-7}" "${3:-30}" | tr -d '\r'
