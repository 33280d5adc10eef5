#!/usr/bin/env bash
# Measures Trimvex's start-up under Wine: process start to main window shown,
# over several runs (default 7), and prints each run and the median; then
# the system information page's gathering by stage (facts, each management
# query, the rest). Runs on a virtual display when there is none. The
# outdated-version notice, when the date shows it, is dismissed as soon as it
# appears.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-7}
cd "$root"
tools/ensure-deps.sh
source tools/wine-path.sh
tv_choose_wine_path
if [ "$TV_BITS" = 32 ]; then tree=cross; else tree=cross64; fi
tools/build.sh "$tree" --target Trimvex --target tvdriver --target tvsysinfo-timing
# A prefix of its own without window-manager waits: on a virtual display
# hiding the notice would otherwise add 2 s that no real desktop has.
export TV_WINEPREFIX="$root/build/wine/measure$([ "$TV_BITS" = 64 ] && echo 64)"
{ source tools/wine-env.sh; } 2>/dev/null
TV_UNMANAGED=1 tools/wine-prefix.sh
source tools/display.sh
if ! { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }; then
  tv_start_xvfb
  export DISPLAY=$TV_DISPLAY
fi
trap 'wineserver -k >/dev/null 2>&1 || true; tv_stop_xvfb' EXIT
wineserver -p
tv_wine cmd.exe /c exit >/dev/null 2>&1
tv_wine "$tv_cross/tvdriver.exe" startup-time "$(tv_wine winepath.exe -w "$tv_cross/Trimvex.exe" 2>/dev/null)" "$runs"
# Where the system information page spends its share of the start: one
# gathering per fresh process, as at program start; medians per stage.
echo "system information page gathering, median of $runs fresh processes (ms):"
stages=$(mktemp)
for ((run = 0; run < runs; run++)); do
  tv_wine "$tv_cross/tvsysinfo-timing.exe" 2>/dev/null | tr -d '\r' >>"$stages"
done
names=("facts" "WMI Win32_Processor" "WMI Win32_VideoController" "WMI Win32_DiskDrive"
       "rest (memory, sound, disks, optical)" "total")
for i in "${!names[@]}"; do
  median=$(cut -f $((i + 1)) "$stages" | sort -n | sed -n "$(((runs + 1) / 2))p")
  printf '  %-38s %7s\n' "${names[$i]}" "$median"
done
rm -f "$stages"
