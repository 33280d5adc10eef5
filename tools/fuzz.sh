#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer) in build/fuzz
# and runs them one after the other for a bounded time in all, split evenly. Usage: tools/fuzz.sh
# [seconds] (default 25). Fails on any crash, and on any input that takes
# longer than -timeout: every target's work must grow no faster than its
# input.
#   resolvers  the command-line resolvers, the known program table and the
#              code-page text helpers, on short inputs
#   longtext   the same helpers and resolvers on texts of 256 KiB
#   taskxml    the reader of task definitions
#   regfile    the reader of registry editor files
# The targets are built by CMake in the fuzz tree (tools/build.sh fuzz), with
# the product's flags and its 8-bit strings in code page 936.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-25}
out="$root/build/fuzz"
mkdir -p "$out"
targets=(resolvers longtext taskxml regfile)
# libFuzzer runs about a second past its -max_total_time.
share=$(( seconds / ${#targets[@]} - 1 ))
[ "$share" -ge 1 ] || share=1

"$root/tools/build.sh" fuzz || { echo "building the fuzz targets failed" >&2; exit 1; }

# Seeds: the shapes each reader is written for.
seed() { mkdir -p "$out/corpus-$1"; printf '%b' "$3" > "$out/corpus-$1/$2"; }
seed resolvers systemroot '%SystemRoot%\\system32\\foo.exe /bar\n.exe'
seed resolvers quoted '"C:\\Program Files\\App\\app.exe" -min\n:\\'
seed resolvers rundll 'rundll32.exe c:\\windows\\system32\\x.dll,Entry\nrundll32.exe '
seed resolvers svchost 'C:\\Windows\\system32\\svchost -k rpcss\nsvchost -k rpcss'
seed resolvers nt '\\??\\C:\\Windows\\system32\\csrss.exe\n\\SystemRoot\\'
seed resolvers cp936 'C:\\\x95\x45\\\x95\x5c\\App.EXE\n\x95'
seed longtext rundll 'rundll32.exe \nrundll32.exe '
seed longtext zhong '\xD6\xD0\n\xD6\xD0'
seed longtext path 'a\\\n\\'
seed longtext needle 'a\naaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab'
seed longtext systemroot '%systemroot%\n%systemroot%'
seed taskxml logon '<?xml version="1.0"?>\n<Task xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task"><Triggers><LogonTrigger><Enabled>true</Enabled></LogonTrigger><BootTrigger/></Triggers><Actions Context="Author"><Exec><Command>C:\\A&amp;B\\a.exe</Command><Arguments> /x &#x4E2D; </Arguments></Exec><ComHandler><ClassId>{1}</ClassId></ComHandler></Actions></Task>'
seed taskxml exec '<Exec><Command><![CDATA[c:\\t.exe]]></Command><!-- x --></Exec>'
seed regfile values 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\T]\r\n"Name"="a \\\\ \\"q\\""\r\n@=dword:0000002a\r\n"Bin"=hex:01,02,\\\r\n  03\r\n"Path"=hex(2):41,00,00,00\r\n"Gone"=-\r\n; comment\r\n[-HKEY_CURRENT_USER\\Software\\Old]\r\n'
seed regfile regedit4 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\T]\n"List"=hex(7):61,00,00\n'
seed regfile utf16 '\xFF\xFEW\x00i\x00n\x00d\x00o\x00w\x00s\x00 \x00R\x00e\x00g\x00i\x00s\x00t\x00r\x00y\x00 \x00E\x00d\x00i\x00t\x00o\x00r\x00 \x00V\x00e\x00r\x00s\x00i\x00o\x00n\x00 \x005\x00.\x000\x000\x00\r\x00\n\x00'
seed regfile lines '[HKEY_CURRENT_USER\\S]\r\n"v"=hex:00,\\'

cd "$out"
for name in "${targets[@]}"; do
  max_len=4096
  [ "$name" = resolvers ] && max_len=600
  log="$out/last-run-$name.log"
  ASAN_OPTIONS=detect_leaks=1 "$out/${name}_fuzz" -max_total_time="$share" -max_len="$max_len" \
    -timeout=2 -print_final_stats=0 "corpus-$name" >"$log" 2>&1 || {
    tail -40 "$log"
    echo "fuzzing $name found a crash or a slow input (see build/fuzz)" >&2
    exit 1
  }
  echo "$name: $(grep -E "^Done|#[0-9]+.*DONE" "$log" | tail -1)"
done
