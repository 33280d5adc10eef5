#!/usr/bin/env bash
# Configures and builds the build trees: "native" (portable logic, fakes and
# unit tests, Debian's g++), "cross" (Trimvex.exe and the Windows-side tests,
# mingw-w64 i686) and "cross64" (the same for 64-bit Windows, for hosts that
# run no 32-bit code) and "fuzz" (the fuzz targets: clang, libFuzzer,
# sanitizers; tools/fuzz.sh runs them). Usage: tools/build.sh [native]
# [cross] [cross64] [fuzz] [--target T]...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
trees=()
target=()
while [ $# -gt 0 ]; do
  case "$1" in
    native|cross|cross64|fuzz) trees+=("$1") ;;
    --target) target+=("$2"); shift ;;
    *) echo "unknown argument: $1" >&2; exit 2 ;;
  esac
  shift
done
[ ${#trees[@]} -gt 0 ] || trees=(native cross)
jobs=$(nproc 2>/dev/null || echo 2)
# A compiler cache, where one is installed, makes rebuilds and other checkouts
# of the same sources cheap; paths are hashed relative to the checkout.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

for tree in "${trees[@]}"; do
  dir="$root/build/$tree"
  args=(-S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release ${launcher[@]+"${launcher[@]}"})
  [ "$tree" = cross ] && args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake")
  [ "$tree" = cross64 ] && args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake")
  [ "$tree" = fuzz ] && args+=(-DTV_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang)
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    if ! log=$(cmake "${args[@]}" 2>&1); then
      echo "$log" >&2
      echo "configuring $tree failed" >&2
      exit 1
    fi
  fi
  # Progress lines are hidden; the build's own status decides.
  set +e
  cmake --build "$dir" -j"$jobs" ${target[@]+--target "${target[@]}"} 2>&1 | grep -v -E '^\[ *[0-9]+%\]|^(Consolidate|Scanning|Built target)'
  status=${PIPESTATUS[0]}
  set -e
  [ "$status" -eq 0 ] || { echo "build of $tree failed" >&2; exit "$status"; }
done
