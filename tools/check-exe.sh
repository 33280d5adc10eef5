#!/usr/bin/env bash
# Checks the built program file: a PE of the given bitness (32, the
# default, or 64) that imports only Windows 7 KnownDLLs, with the
# requireAdministrator, DPI-aware manifest and version 1.2.0.0.
# Usage: tools/check-exe.sh EXE [32|64]
set -euo pipefail
export LC_ALL=C  # tool output is matched in English
exe=$1
bits=${2:-32}
if [ "$bits" = 64 ]; then
  tools=x86_64-w64-mingw32; format='file format pei-x86-64'
else
  tools=i686-w64-mingw32; format='file format pei-i386'
fi
objdump=$tools-objdump
fail() { echo "FAIL: $*"; exit 1; }

# Here-strings rather than pipes into grep -q: an early grep exit would fail
# the writer under pipefail.
header=$($objdump -f "$exe")
grep -q "$format" <<< "$header" || fail "not a $bits-bit PE"
# The program runs elevated, and the DLLs it imports are loaded before any
# of its code runs, so it may import only DLLs that Windows 7 never looks
# for beside the program: the KnownDLLs of Windows 7 SP1 (the values under
# HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs), plus
# ntdll and kernelbase, which are always mapped from the system directory
# with kernel32. Any other system DLL (comctl32, version, winmm, msimg32,
# uxtheme...) is loaded at run time by full path (SystemLibrary).
known_dlls='advapi32 clbcatq comdlg32 difxapi gdi32 imagehlp imm32 kernel32 lpk msctf
  msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shell32 shlwapi
  urlmon user32 usp10 wininet wldap32 ws2_32 iertutil devobj cfgmgr32
  ntdll kernelbase'
dlls=$($objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ -n "$dlls" ] || fail "no imports found"
unknown=()
while read -r dll; do
  base=$(tr '[:upper:]' '[:lower:]' <<< "${dll%.*}")
  ext=$(tr '[:upper:]' '[:lower:]' <<< "${dll##*.}")
  if [ "$ext" != dll ] || [[ " $(echo $known_dlls) " != *" $base "* ]]; then
    unknown+=("$dll")
  fi
done <<< "$dlls"
for dll in "${unknown[@]}"; do
  echo "FAIL: imports $dll, which is no Windows 7 KnownDLL: a copy beside the program would be loaded; load it at run time by full path"
done
[ ${#unknown[@]} -eq 0 ] || exit 1

resources=$($tools-windres -i "$exe" -O rc 2>/dev/null)
grep -q 'requireAdministrator' <<< "$resources" || fail "manifest lacks requireAdministrator"
grep -q '<dpiAware[^>]*>true</dpiAware>' <<< "$resources" || fail "manifest does not declare DPI awareness"
grep -q 'FILEVERSION 1, *2, *0, *0' <<< "$resources" || fail "file version is not 1.2.0.0"
grep -q 'PRODUCTVERSION 1, *2, *0, *0' <<< "$resources" || fail "product version is not 1.2.0.0"
echo "$bits-bit PE; imports: $(echo $dlls)"
