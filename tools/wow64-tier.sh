#!/usr/bin/env bash
# The wow64 tier: the 32-bit build (build/cross) run in a 64-bit prefix, the
# way most Windows 7 machines run the program. It runs the tests that look
# at both registry views, the real system directory and 64-bit processes
# from a 32-bit program. Needs a host that runs 32-bit code; elsewhere it
# says so in one line and passes. Expects build/cross built and, for the
# window test, TV_DISPLAY set (test.sh does both).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "== wow64 tests skipped: this host runs no 32-bit code, so the 32-bit build cannot run in a 64-bit prefix"
  exit 0
fi
if [ ! -f build/cross/tests/tv_wine_tests.exe ]; then
  echo "== wow64 tests skipped: the 32-bit tests are not built on this path (only the 32-bit program is)"
  exit 0
fi
export TV_WOW64=1 TV_BITS=32
source tools/wine-env.sh || { echo "tools/wine-env.sh failed" >&2; exit 1; }
TV_UNMANAGED=1 tools/wine-prefix.sh || exit 1
# Before the first program: Wine's desktop starts with it, on whatever
# display it is given then.
[ -n "${TV_DISPLAY:-}" ] && export DISPLAY=$TV_DISPLAY
mkdir -p build/wine
if ! wineserver -p >build/wine/wow64-wineserver.log 2>&1; then
  echo "starting the wow64 prefix's wineserver failed:" >&2
  tail -n 30 build/wine/wow64-wineserver.log >&2; exit 1
fi
if ! tv_wine cmd.exe /c exit >/dev/null 2>build/wine/wow64-warm-up.log; then
  echo "the wow64 warm-up command failed:" >&2; tail -n 30 build/wine/wow64-warm-up.log >&2
  wineserver -k >/dev/null 2>&1; exit 1
fi
ctest --test-dir build/cross --output-on-failure -R 'Wow64|RegistryViews|ProgramViews'
rc=$?
wineserver -k >/dev/null 2>&1 || true
exit $rc
