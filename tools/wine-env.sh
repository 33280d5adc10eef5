# Sourced by the scripts that run Windows programs: the Wine settings every
# run shares. Code page 936, no Mono/Gecko installer prompts, no debug noise.
# TV_BITS=32 (the default; the program's home platform is 32-bit Windows 7):
# a 32-bit prefix and build/cross. TV_BITS=64: a 64-bit prefix, the 64-bit
# loader and build/cross64. Programs are started with tv_wine, which always
# picks the loader of the chosen path (Debian's wine script prefers the
# 32-bit loader whenever it is installed). TV_WOW64=1 (the wow64 tier): the
# 32-bit build/cross in a 64-bit prefix, as on 64-bit Windows.
tv_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=${WINEDEBUG:--all}
# regsvr32 prefers a real program put over Wine's placeholder (a window
# test records how the program starts the tool); the placeholder itself
# still runs Wine's own.
export WINEDLLOVERRIDES="mscoree,mshtml=;regsvr32.exe=n,b"
export LC_ALL=zh_CN.UTF-8
tv_boot_loader=
if [ "${TV_WOW64:-}" = 1 ]; then
  # The 32-bit build in a 64-bit prefix (WOW64): the prefix is made by the
  # 64-bit loader, the programs run on the 32-bit one.
  export WINEARCH=win64
  unset WINELOADER
  tv_loader=wine
  tv_boot_loader=/usr/lib/wine/wine64
  tv_cross="$tv_root/build/cross"
  export WINEPREFIX=${TV_WINEPREFIX:-$tv_root/build/wine/wow64}
elif [ "${TV_BITS:-32}" = 64 ]; then
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
  tv_loader=/usr/lib/wine/wine64
  tv_cross="$tv_root/build/cross64"
  export WINEPREFIX=${TV_WINEPREFIX:-$tv_root/build/wine/test64}
else
  export WINEARCH=win32
  unset WINELOADER
  tv_loader=wine
  tv_cross="$tv_root/build/cross"
  export WINEPREFIX=${TV_WINEPREFIX:-$tv_root/build/wine/test}
fi
tv_wine() { "$tv_loader" "$@"; }
# Makes a new prefix (wineboot): the loader of the prefix's own bitness.
tv_wine_boot() { "${tv_boot_loader:-$tv_loader}" "$@"; }
# Starts Wine once (the first start of a prefix is the slow one); what Wine
# printed is shown when it fails.
tv_wine_start() {
  # The first Wine process hands its output to Wine's services, which live
  # on: a file, never a pipe, or whoever reads the pipe waits forever.
  local log
  log=$(mktemp) || return 1
  if tv_wine cmd.exe /c exit >"$log" 2>&1; then rm -f "$log"; return 0; fi
  echo "starting Wine failed (cmd.exe /c exit in $WINEPREFIX):" >&2
  cat "$log" >&2
  rm -f "$log"
  return 1
}
# The Windows form of a host path; says so when Wine gives none.
tv_winpath() {
  local path
  path=$(tv_wine winepath.exe -w "$1") && [ -n "$path" ] && { printf '%s\n' "$path"; return 0; }
  echo "winepath gave no Windows path for $1" >&2
  return 1
}
