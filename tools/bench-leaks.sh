#!/usr/bin/env bash
# Refreshes each management list many times (default 1,000) under Wine and
# prints the growth of the process's handles, GDI objects and USER objects:
# the goal is none. A figure, not a timed test. Runs in the benchmark prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/ensure-deps.sh
source tools/wine-path.sh
tv_choose_wine_path
if [ "$TV_BITS" = 32 ]; then tree=cross; else tree=cross64; fi
tools/build.sh "$tree" --target tvbench-leaks >/dev/null

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

tv_wine "$tv_cross/tests/tvbench-leaks.exe" "${1:-1000}" | tr -d '\r' | iconv -f CP936 -t UTF-8
echo "goal: no growth (+0) in any of the three"
