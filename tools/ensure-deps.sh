#!/usr/bin/env bash
# Installs what building, running and testing need on a Debian machine, and
# does nothing (quickly) when it is all there.
set -euo pipefail

packages=(cmake g++ make googletest libgtest-dev g++-mingw-w64-i686 binutils-mingw-w64-i686
          wine wine32:i386 xvfb xauth x11-utils imagemagick fonts-wqy-microhei fonts-arphic-gbsn00lp)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
