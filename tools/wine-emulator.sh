#!/usr/bin/env bash
# Runs a Windows test program under Wine (CMake's cross-compiling emulator),
# with the loader and prefix of the path TV_BITS names.
source "$(dirname "$0")/wine-env.sh" || { echo "tools/wine-env.sh failed" >&2; exit 1; }
if [ ! -f "$WINEPREFIX/.trimvex-ready" ]; then
  TV_UNMANAGED=1 "$tv_root/tools/wine-prefix.sh" || exit 1
fi
if [ -n "${TV_DISPLAY:-}" ]; then export DISPLAY=$TV_DISPLAY; fi
exec "$tv_loader" "$@"
