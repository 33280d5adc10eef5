#!/usr/bin/env bash
# Runs a Windows test program under Wine (CMake's cross-compiling emulator).
source "$(dirname "$0")/wine-env.sh" 2>/dev/null
[ -f "$WINEPREFIX/.trimvex-ready" ] || TV_UNMANAGED=1 "$tv_root/tools/wine-prefix.sh"
if [ -n "${TV_DISPLAY:-}" ]; then export DISPLAY=$TV_DISPLAY; fi
exec wine "$@"
