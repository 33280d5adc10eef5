#!/usr/bin/env bash
# Times the startup tab filling its list from big startup folders under Wine
# (default 3,000 files, half shortcuts), beside the bare cost of the same
# work in the same run: listing the folders, resolving each shortcut and
# reading each file's small icon; prints both medians and their ratio
# against the goal (2x). Runs in a prefix of its own (build/wine/bigfolder),
# made afresh each time.
#   tools/bench-bigfolder.sh [files] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/ensure-deps.sh
source tools/wine-path.sh
tv_choose_wine_path
if [ "$TV_BITS" = 32 ]; then tree=cross; else tree=cross64; fi
tools/build.sh "$tree" --target tvbigfolderbench
export TV_WINEPREFIX="$root/build/wine/bigfolder$([ "$TV_BITS" = 64 ] && echo 64)"
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
tv_wine "$tv_cross/tvbigfolderbench.exe" "${1:-3000}" "${2:-3}" | tr -d '\r' | iconv -f CP936 -t UTF-8
