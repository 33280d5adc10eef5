#!/usr/bin/env bash
# Runs ./run.sh as a new user would on a host without a display: it must end
# within a minute and print, last, the path of the PNG screenshot it saved.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
start=$(date +%s)
out=$(env -u DISPLAY timeout -k 5 60 ./run.sh 2>&1)
status=$?
took=$(( $(date +%s) - start ))
shot=$(printf '%s\n' "$out" | tail -n 1)
if [ "$status" -ne 0 ]; then
  [ "$status" -eq 124 ] && echo "FAIL: run.sh did not end within a minute" || echo "FAIL: run.sh ended with $status"
  printf '%s\n' "$out" | tail -n 20
  exit 1
fi
case "$shot" in
  *.png) ;;
  *) echo "FAIL: the last line is not a PNG path: $shot"; exit 1 ;;
esac
[ "$(head -c 8 "$shot" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
  { echo "FAIL: $shot is not a PNG file"; exit 1; }
echo "run.sh ended after ${took} s with $shot"
