# Sourced: picks the Wine loader for a Windows program.
# wine_for PROGRAM sets WINE and WINEARCH: 64-bit Wine for a 64-bit (x86-64) program, 32-bit Wine
# for anything else. A program of Wine's own (cmd) runs in the Wine that WINEARCH already names.
wine_for() {
  local machine=""
  [ ! -f "$1" ] && [ "${WINEARCH:-}" = win64 ] && machine=8664
  if [ -f "$1" ]; then
    local header
    header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
    [ -n "$header" ] && machine=$(od -An -tx2 -j$((header + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  fi
  if [ "$machine" = 8664 ]; then
    export WINEARCH=win64
    WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
  else
    export WINEARCH=win32
    WINE=wine
  fi
}

# Whether this machine starts 32-bit programs; some kernels have 32-bit emulation turned off.
can_run_32bit() {
  local loader=/usr/lib/wine/wine
  [ -x "$loader" ] || loader=/lib/ld-linux.so.2
  "$loader" --version >/dev/null 2>&1
}

# The build tree whose Windows programs run here: the 32-bit product's, or the 64-bit build of the
# same sources where 32-bit programs cannot start.
windows_tree() {
  if can_run_32bit; then echo "$1/build/win"; else echo "$1/build/win64"; fi
}
