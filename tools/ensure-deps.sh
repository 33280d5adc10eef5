#!/usr/bin/env bash
# Installs what building, running and testing need on a Debian machine, and
# does nothing (quickly) when it is all there. Both Wine paths' packages are
# installed on every host: which one a run takes is decided later
# (tools/wine-path.sh). A failing step says what failed and what it printed.
set -euo pipefail

packages=(locales cmake g++ make googletest libgtest-dev
          g++-mingw-w64-i686 binutils-mingw-w64-i686
          g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
          wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick
          fonts-wqy-microhei fonts-arphic-gbsn00lp)
# The signature tests sign their own samples with test certificates.
packages+=(openssl osslsigncode)
# The fuzz target: clang with libFuzzer and AddressSanitizer.
packages+=(clang libclang-rt-14-dev)
# Rewrites the fuzz build's 8-bit literals (tools/cp936_literals.py).
packages+=(python3)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
run() {
  local what=$1; shift
  if ! "$@" >"$log" 2>&1; then
    echo "ensure-deps: $what failed:" >&2
    tail -n 40 "$log" >&2
    exit 1
  fi
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if ! grep -qx i386 <<< "$(dpkg --print-foreign-architectures)"; then
    run "adding the i386 architecture" $sudo dpkg --add-architecture i386
  fi
  # A mirror caught mid-sync fails the update for one index; retry, and
  # then install from what was fetched: only a failed install is fatal.
  for attempt in 1 2 3; do
    if $sudo apt-get update -qq >"$log" 2>&1; then break; fi
    echo "ensure-deps: apt-get update failed (attempt $attempt):" >&2
    tail -n 5 "$log" >&2
    [ "$attempt" -lt 3 ] && sleep 15
  done
  install=(env DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends)
  if ! "${install[@]}" "${missing[@]}" >"$log" 2>&1; then
    # With one architecture's security index missing, the two architectures'
    # newest versions differ and i386 packages cannot be matched: take the
    # release's own versions instead.
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    echo "ensure-deps: installing failed; again from $release's own versions" >&2
    run "installing ${missing[*]}" "${install[@]}" -o APT::Default-Release="$release" "${missing[@]}"
  fi
fi

# Wine takes its code page (936) from LC_ALL=zh_CN.UTF-8; with the locale
# generated, the shells that pass it on stop warning about it too.
if ! grep -qix 'zh_CN.utf8' <<< "$(locale -a 2>/dev/null)"; then
  run "generating the zh_CN.UTF-8 locale" $sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
