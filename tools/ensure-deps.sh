#!/usr/bin/env bash
# Installs what building, running and testing need on a Debian machine, and
# does nothing (quickly) when it is all there.
set -euo pipefail

packages=(locales cmake g++ make googletest libgtest-dev g++-mingw-w64-i686 binutils-mingw-w64-i686
          wine wine32:i386 xvfb xauth x11-utils imagemagick fonts-wqy-microhei fonts-arphic-gbsn00lp)
# The fuzz target: clang with libFuzzer and AddressSanitizer.
packages+=(clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if ! grep -qx i386 <<< "$(dpkg --print-foreign-architectures)"; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its code page (936) from LC_ALL=zh_CN.UTF-8; with the locale
# generated, the shells that pass it on stop warning about it too.
if ! grep -qix 'zh_CN.utf8' <<< "$(locale -a 2>/dev/null)"; then
  $sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
