#!/usr/bin/env bash
# Checks the built program file: a 32-bit PE that imports only system DLLs,
# with the requireAdministrator manifest and version 1.2.0.0.
set -euo pipefail
export LC_ALL=C  # tool output is matched in English
exe=$1
objdump=i686-w64-mingw32-objdump
fail() { echo "FAIL: $*"; exit 1; }

# Here-strings rather than pipes into grep -q: an early grep exit would fail
# the writer under pipefail.
header=$($objdump -f "$exe")
grep -q 'file format pei-i386' <<< "$header" || fail "not a 32-bit PE"
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|SHLWAPI|COMCTL32|COMDLG32|OLE32|OLEAUT32|VERSION|PSAPI|WINMM|MSIMG32|msvcrt|MSVCRT)\.dll$'
dlls=$($objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ -n "$dlls" ] || fail "no imports found"
while read -r dll; do
  grep -qiE "$allowed" <<< "$dll" || fail "imports $dll"
done <<< "$dlls"

resources=$(i686-w64-mingw32-windres -i "$exe" -O rc 2>/dev/null)
grep -q 'requireAdministrator' <<< "$resources" || fail "manifest lacks requireAdministrator"
grep -q 'FILEVERSION 1, *2, *0, *0' <<< "$resources" || fail "file version is not 1.2.0.0"
grep -q 'PRODUCTVERSION 1, *2, *0, *0' <<< "$resources" || fail "product version is not 1.2.0.0"
echo "imports: $(echo $dlls)"
