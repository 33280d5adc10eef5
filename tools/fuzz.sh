#!/usr/bin/env bash
# Builds the resolver fuzz target with clang, libFuzzer and AddressSanitizer
# in build/fuzz (apart from the normal build trees) and runs it for a bounded
# time. Usage: tools/fuzz.sh [seconds] (default 25). Fails on any crash.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-25}
out="$root/build/fuzz"
mkdir -p "$out/corpus"
sources=(tests/fuzz/ResolversFuzz.cpp manage/CommandLineResolution.cpp manage/KnownFiles.cpp
         platform/CodePageText.cpp platform/fake/FakeFileSystem.cpp platform/fake/PackedNames.cpp)
binary="$out/resolvers_fuzz"
stale=0
[ -x "$binary" ] || stale=1
for s in "${sources[@]}" platform/*.h platform/fake/FakeFileSystem.h platform/fake/FakeEnvironment.h manage/*.h; do
  [ "$root/$s" -nt "$binary" ] && stale=1
done
if [ "$stale" -eq 1 ]; then
  (cd "$root" && clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined \
     -fno-sanitize-recover=all -I. "${sources[@]}" -o "$binary")
fi
# Seeds: the shapes the resolvers are written for.
seed() { printf '%b' "$2" > "$out/corpus/$1"; }
seed systemroot '%SystemRoot%\\system32\\foo.exe /bar\n.exe'
seed quoted '"C:\\Program Files\\App\\app.exe" -min\n:\\'
seed rundll 'rundll32.exe c:\\windows\\system32\\x.dll,Entry\nrundll32.exe '
seed svchost 'C:\\Windows\\system32\\svchost -k rpcss\nsvchost -k rpcss'
seed nt '\\??\\C:\\Windows\\system32\\csrss.exe\n\\SystemRoot\\'
seed cp936 'C:\\\x95\x45\\\x95\x5c\\App.EXE\n\x95'
cd "$out"
ASAN_OPTIONS=detect_leaks=1 "$binary" -max_total_time="$seconds" -max_len=600 \
  -print_final_stats=0 corpus >"$out/last-run.log" 2>&1 || {
  tail -40 "$out/last-run.log"
  echo "fuzzing found a crash (see build/fuzz)" >&2
  exit 1
}
grep -E "^Done|#[0-9]+.*DONE" "$out/last-run.log" | tail -1
