#!/usr/bin/env bash
# The emulator of the 64-bit tree: the 64-bit loader and prefix.
export TV_BITS=64
exec "$(dirname "$0")/wine-emulator.sh" "$@"
