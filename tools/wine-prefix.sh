#!/usr/bin/env bash
# Creates the Wine prefix named by $WINEPREFIX (after sourcing wine-env.sh)
# once: 32-bit, with "宋体"/"SimSun" resolved to a Song-style CJK face of about
# the same width as on Chinese Windows.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh" 2>/dev/null
if [ -f "$WINEPREFIX/.trimvex-ready" ]; then exit 0; fi
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
reg=$(mktemp --suffix=.reg)
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  printf '"SimSun"="AR PL UMing CN"\r\n'
  printf '"宋体"="AR PL UMing CN"\r\n'
  printf '"NSimSun"="AR PL UMing CN"\r\n'
  printf '"新宋体"="AR PL UMing CN"\r\n\r\n'
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
rm -f "$reg"
wineserver -w
touch "$WINEPREFIX/.trimvex-ready"
