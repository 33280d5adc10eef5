# Sourced once by run.sh and test.sh: decides which Wine path the run takes
# and says so in one line. The 32-bit path needs a kernel that runs 32-bit
# code (some hosts have IA-32 emulation switched off: every i386 binary then
# fails with "Exec format error"); elsewhere the same sources are built for
# 64-bit Windows and run under 64-bit Wine. TV_BITS=32 or TV_BITS=64 forces a
# path. Exports TV_BITS.
tv_choose_wine_path() {
  local why
  case "${TV_BITS:-}" in
    32|64) why="forced by TV_BITS=$TV_BITS" ;;
    "")
      if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        TV_BITS=32; why="this host runs 32-bit code"
      else
        TV_BITS=64; why="this host runs no 32-bit code (a 32-bit program failed to start)"
      fi ;;
    *) echo "TV_BITS must be 32 or 64, not '$TV_BITS'" >&2; return 1 ;;
  esac
  if [ "$TV_BITS" = 32 ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "TV_BITS=32 asks for the 32-bit Wine path, but this host cannot run 32-bit code" >&2
    return 1
  fi
  export TV_BITS
  if [ "$TV_BITS" = 32 ]; then
    echo "== Wine path: 32-bit (build/cross, 32-bit prefix): $why"
  else
    echo "== Wine path: 64-bit (build/cross64, 64-bit prefix): $why"
  fi
}
