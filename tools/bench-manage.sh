#!/usr/bin/env bash
# Benchmark of the processes and services tabs under Wine: the processes
# tab's refresh with 100 extra processes running, and the services tab's
# scan, each next to a bare loop making the same platform calls.
# Usage: tools/bench-manage.sh [extra processes] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/build.sh cross --target tvbench-manage --target tv_sleeper >/dev/null

source tools/display.sh
{ source tools/wine-env.sh; } 2>/dev/null
export TV_WINEPREFIX=${TV_WINEPREFIX:-$root/build/wine/bench}
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
wine cmd /c exit >/dev/null 2>&1

wine build/cross/tests/tvbench-manage.exe "$(winepath -w build/cross/tests/tv_sleeper.exe)" \
  "${1:-100}" "${2:-7}" | tr -d '\r'
