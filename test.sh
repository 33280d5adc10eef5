#!/usr/bin/env bash
# Builds both trees and runs every test tier: native unit tests, then the
# Windows-side tests under Wine, then the window tests on a virtual display.
set -uo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"

tools/ensure-deps.sh || exit 1
tools/build.sh native cross || exit 1

source tools/display.sh
{ source tools/wine-env.sh; } 2>/dev/null
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
wineserver -p
wine cmd /c exit >/dev/null 2>&1

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
tier wine ctest --test-dir build/cross --output-on-failure -j2 -L 'wine|exe'
# Last, so the run ends with ctest's summary of the window tier.
[ ${#failed[@]} -eq 0 ] || echo "== failed tiers so far: ${failed[*]}"
tier window ctest --test-dir build/cross --output-on-failure -L window
[ ${#failed[@]} -eq 0 ]
