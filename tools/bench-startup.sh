#!/usr/bin/env bash
# Times the startup tab's scan under Wine over the ordinary fixture
# (tests/fixtures/startup.reg) and over a large one (1,000 values in the Run
# key of each root, 200 shortcuts in the user's startup folder), next to a
# bare loop that only enumerates and reads the same registry values. Runs in
# a prefix of its own (build/wine/bench), made afresh each time. Then 200
# tasks that start a program at logon: the startup scan's task part against a
# bare enumeration of the same tasks through the Task Scheduler interfaces
# (the bench starts the Task Scheduler service, which a new prefix leaves
# stopped).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/ensure-deps.sh
source tools/wine-path.sh
tv_choose_wine_path
if [ "$TV_BITS" = 32 ]; then tree=cross; else tree=cross64; fi
tools/build.sh "$tree" --target tvstartupbench
export TV_WINEPREFIX="$root/build/wine/bench$([ "$TV_BITS" = 64 ] && echo 64)"
rm -rf "$TV_WINEPREFIX"
source tools/wine-env.sh || { echo "tools/wine-env.sh failed" >&2; exit 1; }
TV_UNMANAGED=1 tools/wine-prefix.sh
source tools/display.sh
if ! { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }; then
  tv_start_xvfb
  export DISPLAY=$TV_DISPLAY
fi
trap 'wineserver -k >/dev/null 2>&1 || true; tv_stop_xvfb' EXIT
wineserver -p
tv_wine_start || exit 1
fixture=$(tv_winpath "$root/tests/fixtures/startup.reg") || exit 1
tv_wine "$tv_cross/tvstartupbench.exe" "$fixture" | iconv -f CP936 -t UTF-8
