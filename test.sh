#!/usr/bin/env bash
# Builds the trees and runs every test tier: native unit tests, then the
# Windows-side tests under Wine, then the window tests on a virtual display.
# The Wine path (32-bit, or 64-bit where the host runs no 32-bit code, or as
# TV_BITS says) is chosen once and printed.
set -uo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"

tools/ensure-deps.sh || exit 1
source tools/wine-path.sh
tv_choose_wine_path || exit 1
if [ "$TV_BITS" = 32 ]; then
  tools/build.sh native cross || exit 1
else
  # The 32-bit program is still built and checked; only running it needs a
  # host that runs 32-bit code.
  tools/build.sh native cross64 || exit 1
  tools/build.sh cross --target Trimvex || exit 1
fi

source tools/display.sh
source tools/wine-env.sh || { echo "tools/wine-env.sh failed" >&2; exit 1; }
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  tv_stop_xvfb
}
trap cleanup EXIT

# One prefix for the whole run, made before any test starts (parallel first
# use races), and one persistent server warmed up so each test program starts
# in tens of milliseconds.
TV_UNMANAGED=1 tools/wine-prefix.sh || exit 1
tv_start_xvfb || exit 1
export DISPLAY=$TV_DISPLAY
# (The server stays behind with whatever output it was given: a file, not a
# pipe that a command substitution would wait on forever.)
if ! wineserver -p >"$root/build/wine/wineserver.log" 2>&1; then
  echo "starting the persistent wineserver failed:" >&2
  tail -n 30 "$root/build/wine/wineserver.log" >&2; exit 1
fi
# The first Wine process hands its output to Wine's services: keep it away
# from any pipe a later step reads.
if ! tv_wine cmd.exe /c exit >/dev/null 2>"$root/build/wine/warm-up.log"; then
  echo "the Wine warm-up command failed:" >&2; tail -n 30 "$root/build/wine/warm-up.log" >&2; exit 1
fi

failed=()
tier() {
  local name=$1; shift
  echo "== $name tests"
  "$@" || failed+=("$name")
}
tier native ctest --test-dir build/native --output-on-failure -j2
# The resolvers and code-page helpers under libFuzzer and AddressSanitizer,
# for a bounded time.
tier native tools/fuzz.sh 20
tier wine ctest --test-dir "$tv_cross" --output-on-failure -j2 -L 'wine|exe'
if [ "$TV_BITS" = 64 ]; then
  tier exe32 tools/check-exe.sh build/cross/Trimvex.exe 32
fi
# Ending another prefix's server (the run check's, the wow64 tier's) also
# ends this prefix's desktop, and every program started after that waits
# for a desktop of its own: this prefix's server starts afresh first.
wineserver -k >/dev/null 2>&1 || true
if ! wineserver -p >>"$root/build/wine/wineserver.log" 2>&1 ||
   ! tv_wine cmd.exe /c exit >/dev/null 2>>"$root/build/wine/warm-up.log"; then
  echo "restarting Wine before the window tier failed:" >&2
  tail -n 30 "$root/build/wine/warm-up.log" >&2; exit 1
fi
tier window ctest --test-dir "$tv_cross" --output-on-failure -L window
# The 32-bit build in a 64-bit prefix (WOW64); one line saying why not on a
# host that runs no 32-bit code.
tier wow64 tools/wow64-tier.sh
[ ${#failed[@]} -eq 0 ] || echo "== failed tiers: ${failed[*]}"
[ ${#failed[@]} -eq 0 ]
