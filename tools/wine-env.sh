# Sourced by the scripts that run Windows programs: the Wine settings every
# run shares. A 32-bit prefix (the program's home platform is 32-bit
# Windows 7), code page 936, no Mono/Gecko installer prompts, no debug noise.
tv_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=zh_CN.UTF-8
export WINEPREFIX=${TV_WINEPREFIX:-$tv_root/build/wine/test}
