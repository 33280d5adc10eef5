#!/usr/bin/env bash
# Creates the Wine prefix named by $WINEPREFIX (after sourcing wine-env.sh)
# once: 32-bit, with "宋体"/"SimSun" resolved to a Song-style CJK face of the
# same size as on Chinese Windows (6 x 12 dialog base units at 9 pt).
# TV_UNMANAGED=1: windows are not left to a window manager (for virtual
# displays, which have none).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh" 2>/dev/null
if [ -f "$WINEPREFIX/.trimvex-ready" ]; then exit 0; fi
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
reg=$(mktemp --suffix=.reg)
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  printf '"SimSun"="AR PL SungtiL GB"\r\n'
  printf '"宋体"="AR PL SungtiL GB"\r\n'
  printf '"NSimSun"="AR PL SungtiL GB"\r\n'
  printf '"新宋体"="AR PL SungtiL GB"\r\n\r\n'
  if [ "${TV_UNMANAGED:-}" = 1 ]; then
    # Without a window manager, hiding a managed window waits 2 s for one.
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
  fi
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
rm -f "$reg"
wineserver -w
touch "$WINEPREFIX/.trimvex-ready"
