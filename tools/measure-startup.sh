#!/usr/bin/env bash
# Measures Trimvex's start-up under Wine, over several runs (default 7): the
# time from process start to main window shown, beside a minimal dialog
# program of the same build (tvstandin) started in turn with it, and their
# ratio against its goal; the time until every page is filled; then each
# gathering made at start in fresh processes (the system information page's
# by stage, the startup tab's scan) and the filling time against its goal,
# the slowest single gathering plus 20%. Runs on a virtual display when there
# is none. The outdated-version notice, when the date shows it, is dismissed
# as soon as it appears.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-7}
cd "$root"
tools/ensure-deps.sh
source tools/wine-path.sh
tv_choose_wine_path
if [ "$TV_BITS" = 32 ]; then tree=cross; else tree=cross64; fi
tools/build.sh "$tree" --target Trimvex --target tvdriver --target tvsysinfo-timing --target tvstandin
# A prefix of its own without window-manager waits: on a virtual display
# hiding the notice would otherwise add 2 s that no real desktop has.
export TV_WINEPREFIX="$root/build/wine/measure$([ "$TV_BITS" = 64 ] && echo 64)"
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
compare=$(mktemp)
stages=$(mktemp)
trap 'rm -f "$compare" "$stages"; wineserver -k >/dev/null 2>&1 || true; tv_stop_xvfb' EXIT
program=$(tv_winpath "$tv_cross/Trimvex.exe") || exit 1
standin=$(tv_winpath "$tv_cross/tvstandin.exe") || exit 1
tv_wine "$tv_cross/tvdriver.exe" startup-compare "$program" "$standin" "$runs" | tr -d '\r' | tee "$compare"
# Each gathering made at start, alone in a fresh process; medians per stage.
echo "gatherings made at start, each alone, median of $runs fresh processes (ms):"
for ((run = 0; run < runs; run++)); do
  tv_wine "$tv_cross/tvsysinfo-timing.exe" 2>/dev/null | tr -d '\r' >>"$stages"
done
median_of() { sort -n | sed -n "$(((runs + 1) / 2))p"; }
names=("facts" "WMI Win32_Processor" "WMI Win32_VideoController" "WMI Win32_DiskDrive"
       "rest (memory, sound, disks, optical)" "system information, one after another"
       "startup tab scan")
for i in "${!names[@]}"; do
  printf '  %-40s %7s\n' "${names[$i]}" "$(cut -f $((i + 1)) "$stages" | median_of)"
done
queries=$(awk -F'\t' '{ printf "%.1f\n", $2 + $3 + $4 }' "$stages" | median_of)
local_part=$(awk -F'\t' '{ printf "%.1f\n", $1 + $5 }' "$stages" | median_of)
scan=$(cut -f 7 "$stages" | median_of)
printf '  %-40s %7s\n' "the three management queries (a thread)" "$queries" \
  "facts and the rest (a thread)" "$local_part" "startup tab scan (a thread)" "$scan"
slowest=$(printf '%s\n' "$queries" "$local_part" "$scan" | sort -n | tail -1)
filling=$(sed -n 's/^filling after a bare window.s start: \(-\?[0-9]*\) ms$/\1/p' "$compare")
awk -v f="$filling" -v s="$slowest" 'BEGIN {
  goal = s * 1.2
  printf "every page filled, beyond a bare window'"'"'s start: %d ms   goal <= %.0f ms (slowest gathering %.0f ms + 20%%)   %s\n",
    f, goal, s, (f <= goal ? "met" : "NOT met") }'
