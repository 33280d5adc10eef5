#!/usr/bin/env bash
# Checks the built program file: a PE of the given bitness (32, the
# default, or 64) that imports only system DLLs, with the
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
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|SHLWAPI|COMCTL32|COMDLG32|OLE32|OLEAUT32|VERSION|PSAPI|WINMM|MSIMG32|msvcrt|MSVCRT)\.dll$'
dlls=$($objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ -n "$dlls" ] || fail "no imports found"
while read -r dll; do
  grep -qiE "$allowed" <<< "$dll" || fail "imports $dll"
done <<< "$dlls"

resources=$($tools-windres -i "$exe" -O rc 2>/dev/null)
grep -q 'requireAdministrator' <<< "$resources" || fail "manifest lacks requireAdministrator"
grep -q '<dpiAware[^>]*>true</dpiAware>' <<< "$resources" || fail "manifest does not declare DPI awareness"
grep -q 'FILEVERSION 1, *2, *0, *0' <<< "$resources" || fail "file version is not 1.2.0.0"
grep -q 'PRODUCTVERSION 1, *2, *0, *0' <<< "$resources" || fail "product version is not 1.2.0.0"
echo "$bits-bit PE; imports: $(echo $dlls)"
