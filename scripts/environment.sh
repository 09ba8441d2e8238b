# Sourced by every other script: where things are (the source tree, the build root, the cache of
# what is slow to make), which Wine loader and prefix run which Windows program, and whether this
# machine runs 32-bit programs at all.
#
# da3_root   the source tree
# da3_out    the build root: windows/ (the 32-bit program), win64/, native/, win32/; DA3_BUILD_ROOT
#            (relative to the source tree) gives another, so several builds can stand side by side
# da3_cache  what every build root shares: TagLib (deps/), the Wine prefixes, the audio fixtures,
#            pictures and fuzz corpora; always the source tree's build/, which git ignores
#
# Debian's /usr/bin/wine takes the 32-bit loader for every program once wine32:i386 is installed,
# and a 64-bit prefix then fails with "could not load kernel32.dll". So the scripts call the loader
# that fits: /usr/lib/wine/wine64 for 64-bit programs in the 64-bit prefix, /usr/lib/wine/wine for
# 32-bit programs in a prefix of their own (WINEARCH=win32). A prefix remembers which architecture
# made it (the "#arch=" line of its system.reg); a program is never run in a prefix of the other.

da3_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
da3_cache=$da3_root/build
da3_out=$da3_root/${DA3_BUILD_ROOT:-build}
export WINEPREFIX=${WINEPREFIX:-$da3_cache/wineprefix} WINEDEBUG=${WINEDEBUG:--all}
WINEPREFIX32=${WINEPREFIX32:-$da3_cache/wineprefix32}
da3_runs32_file=$da3_cache/runs-32-bit  # "yes", or why not; written by setup.sh

# The loader for 64-bit programs.
wine_loader64() {
  if [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64
  elif command -v wine64 >/dev/null 2>&1; then command -v wine64
  else echo wine; fi
}

# The loader for 32-bit programs; empty without 32-bit Wine.
wine_loader32() {
  if [ -x /usr/lib/wine/wine ]; then echo /usr/lib/wine/wine; fi
}

# i386, x86_64 or unknown, from the machine field of a Windows program's PE header.
pe_arch() {
  local offset machine
  offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] || { echo unknown; return; }
  machine=$(od -An -t x2 -j $((offset + 4)) -N 2 "$1" 2>/dev/null | tr -d ' ')
  case "$machine" in
    014c) echo i386 ;;
    8664) echo x86_64 ;;
    *) echo unknown ;;
  esac
}

# win32 or win64 as the prefix was made; empty for a prefix not made yet.
prefix_arch() {
  sed -n 's/^#arch=//p' "$1/system.reg" 2>/dev/null | head -n 1
}

# Sets wine_loader and WINEPREFIX (and WINEARCH) for running the given Windows program.
wine_for_program() {
  if [ "$(pe_arch "$1")" = i386 ]; then
    wine_loader=$(wine_loader32)
    export WINEPREFIX=$WINEPREFIX32 WINEARCH=win32
    if [ -z "$wine_loader" ]; then
      echo "no 32-bit Wine to run $1 (see $da3_runs32_file)" >&2
      return 1
    fi
  else
    wine_loader=$(wine_loader64)
    export WINEARCH=win64
  fi
  local made
  made=$(prefix_arch "$WINEPREFIX")
  if [ -n "$made" ] && [ "$made" != "$WINEARCH" ]; then
    echo "the Wine prefix $WINEPREFIX was made for $made, not $WINEARCH; remove it and run" \
         "scripts/setup.sh" >&2
    return 1
  fi
}

# Whether setup.sh found that this machine runs 32-bit Windows programs.
runs_32_bit() {
  [ "$(cat "$da3_runs32_file" 2>/dev/null)" = yes ]
}
