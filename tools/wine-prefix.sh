#!/usr/bin/env bash
# Creates the Wine prefix named by $WINEPREFIX (after sourcing wine-env.sh)
# once: 32- or 64-bit as TV_BITS says, with "宋体"/"SimSun" resolved to a
# Song-style CJK face of the same size as on Chinese Windows (6 x 12 dialog
# base units at 9 pt). TV_UNMANAGED=1: windows are not left to a window
# manager (for virtual displays, which have none). The user's Documents and
# the other personal folders are real folders inside the prefix, not links
# to the host's home. A failing step says what
# failed and what it printed, and the script exits non-zero.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh" || { echo "tools/wine-env.sh failed" >&2; exit 1; }
# A new prefix links the user's Documents, Desktop, ... to the Unix home
# folder: whatever a program writes there would land in the host's home.
# Each such link becomes a real, empty folder (the Windows paths stay the
# same). Also done for a prefix made before this step existed.
own_user_folders() {
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/{Documents,Desktop,Downloads,Music,Pictures,Videos}; do
    if [ -L "$link" ]; then
      rm -- "$link" && mkdir -- "$link" ||
        { echo "wine-prefix: could not replace the link $link by a folder" >&2; exit 1; }
    fi
  done
}
if [ -f "$WINEPREFIX/.trimvex-ready" ]; then own_user_folders; exit 0; fi
log=$(mktemp)
reg=$(mktemp --suffix=.reg)
trap 'rm -f "$log" "$reg"' EXIT
step() {
  local what=$1; shift
  if ! "$@" >"$log" 2>&1; then
    echo "wine-prefix: $what failed (prefix $WINEPREFIX, WINEARCH=$WINEARCH):" >&2
    tail -n 30 "$log" >&2
    exit 1
  fi
}
mkdir -p "$WINEPREFIX"
step "creating the prefix (wineboot -i)" tv_wine_boot wineboot.exe -i
step "waiting for the prefix's first start" wineserver -w
own_user_folders
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
windows_reg=$(tv_winpath "$reg") || exit 1
step "importing the font and display settings (regedit)" tv_wine regedit.exe /S "$windows_reg"
step "waiting for the prefix to settle" wineserver -w
touch "$WINEPREFIX/.trimvex-ready"
