#!/usr/bin/env bash
# Installs what the build and the tests need, once: Debian packages, TagLib 1.13 cross-built for
# Windows, and a Wine prefix. Everything slow is cached under build/ (da3_cache).
set -euo pipefail
source "$(dirname "$0")/environment.sh"
cd "$da3_root"
deps=$da3_cache/deps
mkdir -p "$deps"

need_pkgs=()
# A mirror that is being synced fails an index now and then: the update is tried again, and then
# goes on with the indexes there are, which install fails on by itself if they lack a package.
apt_update() {
  local attempt
  for attempt in 1 2 3; do
    apt-get update -q && return 0
    sleep 15
  done
  echo "apt-get update failed three times; going on with the package indexes there are" >&2
}
want() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed' || need_pkgs+=("$1"); }

if ! grep -q 'deb-src' /etc/apt/sources.list.d/debian.sources 2>/dev/null; then
  sed -i 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
  apt_updated=0
fi

# The product is 32-bit; the Windows tests run a 64-bit build of the same code under wine64 on
# every machine, and the 32-bit build as well where the machine runs 32-bit programs (below).
for p in cmake ninja-build g++-mingw-w64-i686-posix mingw-w64-i686-dev g++-mingw-w64-x86-64-posix \
         mingw-w64-x86-64-dev clang clang-format libclang-rt-14-dev googletest wine wine64 xvfb xauth \
         x11-apps imagemagick x11-utils lame flac vorbis-tools ffmpeg musepack-tools python3-mutagen \
         dpkg-dev libutfcpp-dev fonts-wine locales; do
  want "$p"
done
if [ ${#need_pkgs[@]} -gt 0 ] || [ "${apt_updated:-1}" = 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt_update
  [ ${#need_pkgs[@]} -gt 0 ] && apt-get install -y -q --no-install-recommends "${need_pkgs[@]}"
fi

# Wine takes the Windows ANSI code page from the Unix locale: en_US.UTF-8 gives the Western code
# page 1252, ru_RU.UTF-8 the Cyrillic 1251 that the tests of older catalogs and preference files
# run some programs under.
locales_added=0
for locale_name in en_US.UTF-8 ru_RU.UTF-8; do
  grep -qx "$locale_name UTF-8" /etc/locale.gen 2>/dev/null ||
    { echo "$locale_name UTF-8" >>/etc/locale.gen; locales_added=1; }
done
if [ "$locales_added" = 1 ] || ! locale -a 2>/dev/null | grep -qix 'ru_RU.utf8'; then
  locale-gen >/dev/null
fi

# TagLib 1.13 from Debian's source package (with Debian's patches), static, with the C binding,
# for both Windows architectures.
if [ ! -d "$deps/taglib-src" ]; then
  mkdir -p "$deps/taglib-src.tmp"
  (cd "$deps/taglib-src.tmp" && apt-get source -q taglib >/dev/null)
  mv "$deps/taglib-src.tmp" "$deps/taglib-src"
fi
src=$(find "$deps/taglib-src" -maxdepth 1 -type d -name 'taglib-1.*' | head -n 1)
for arch in i686 x86_64; do
  taglib_prefix=$deps/taglib-$arch
  [ -f "$taglib_prefix/lib/libtag_c.a" ] && continue
  cmake -S "$src" -B "$deps/taglib-build-$arch" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$da3_root/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DBUILD_BINDINGS=ON -DWITH_ZLIB=OFF \
    -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF \
    -DCMAKE_CXX_FLAGS="-I/usr/include/utf8cpp" \
    -DCMAKE_INSTALL_PREFIX="$taglib_prefix" >/dev/null
  cmake --build "$deps/taglib-build-$arch" -j2
  cmake --install "$deps/taglib-build-$arch" >/dev/null
done

# Wine prefixes for the tests, one per architecture, each made by the loader of its architecture;
# unmanaged X11 windows close quickly under a bare Xvfb.
# Wine's own fonts (Tahoma for the texts, Marlett for the title bars' buttons) from fonts-wine: this
# Wine build does not look in their folder, so each prefix's font folder gets a copy.
add_wine_fonts() {  # prefix
  local font
  for font in /usr/share/wine/fonts/*; do
    [ -e "$1/drive_c/windows/Fonts/${font##*/}" ] || cp "$font" "$1/drive_c/windows/Fonts/"
  done
}
make_prefix() {  # prefix, WINEARCH, loader
  local prefix=$1 arch=$2 loader=$3
  [ -f "$prefix/.ready" ] && [ "$(prefix_arch "$prefix")" = "$arch" ] && { add_wine_fonts "$prefix"; return 0; }
  rm -rf "$prefix"
  WINEPREFIX=$prefix WINEARCH=$arch "$loader" wineboot --init >/dev/null 2>&1 || true
  WINEPREFIX=$prefix wineserver -w || true
  WINEPREFIX=$prefix "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    >/dev/null 2>&1
  WINEPREFIX=$prefix "$loader" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog \
    /t REG_DWORD /d 0 /f >/dev/null 2>&1
  WINEPREFIX=$prefix wineserver -w || true
  [ "$(prefix_arch "$prefix")" = "$arch" ] || { echo "could not make the $arch prefix $prefix" >&2; return 1; }
  add_wine_fonts "$prefix"
  touch "$prefix/.ready"
}
make_prefix "$WINEPREFIX" win64 "$(wine_loader64)"

# Whether this machine runs 32-bit programs, found out rather than assumed: first the kernel (a
# tiny static 32-bit Linux program), then 32-bit Wine in its own prefix (a tiny 32-bit Windows
# program that ends with exit code 7). Prints "yes" or the reason why not.
probe_32_bit() {
  local probe=$da3_cache/probe32 loader32
  mkdir -p "$probe"
  printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$probe/exit.s"
  if ! as --32 -o "$probe/exit.o" "$probe/exit.s" 2>/dev/null ||
     ! ld -m elf_i386 -o "$probe/exit" "$probe/exit.o" 2>/dev/null; then
    echo "no 32-bit probe could be made (binutils)"; return
  fi
  if ! "$probe/exit" 2>/dev/null; then echo "the kernel refuses 32-bit programs"; return; fi
  if [ -z "$(wine_loader32)" ]; then
    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      dpkg --add-architecture i386 && apt_update >/dev/null
    fi
    apt-get install -y -q --no-install-recommends wine32:i386 >/dev/null 2>&1 ||
      { echo "wine32:i386 could not be installed"; return; }
  fi
  loader32=$(wine_loader32)
  [ -n "$loader32" ] || { echo "no 32-bit Wine loader after installing wine32:i386"; return; }
  make_prefix "$WINEPREFIX32" win32 "$loader32" >/dev/null 2>&1 ||
    { echo "no 32-bit Wine prefix could be made"; return; }
  printf 'int main(void) { return 7; }\n' | i686-w64-mingw32-gcc -x c - -o "$probe/exit7.exe" ||
    { echo "no 32-bit Windows probe could be made"; return; }
  local code=0
  WINEPREFIX=$WINEPREFIX32 WINEARCH=win32 timeout -k 5 120 "$loader32" "$probe/exit7.exe" \
    >/dev/null 2>&1 || code=$?
  # The probe's Wine session has no display; a program started on a virtual display right after
  # must not join it, or its windows never appear.
  WINEPREFIX=$WINEPREFIX32 wineserver -w || true
  if [ "$code" != 7 ]; then echo "32-bit Wine does not run a 32-bit program (exit code $code)"; return; fi
  echo yes
}
probe_32_bit >"$da3_runs32_file"
