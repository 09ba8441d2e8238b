#!/usr/bin/env bash
# Installs what the build and the tests need, once: Debian packages, TagLib 1.13 cross-built for
# Windows, and a Wine prefix. Everything slow is cached under build/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
deps=$root/build/deps
mkdir -p "$deps"

need_pkgs=()
want() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed' || need_pkgs+=("$1"); }

if ! grep -q 'deb-src' /etc/apt/sources.list.d/debian.sources 2>/dev/null; then
  sed -i 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
  apt_updated=0
fi

# The product is 32-bit; the Windows tests run a 64-bit build of the same code under wine64,
# because machines of this kind refuse to execute 32-bit programs (exec format error).
for p in cmake ninja-build g++-mingw-w64-i686-posix mingw-w64-i686-dev g++-mingw-w64-x86-64-posix \
         mingw-w64-x86-64-dev clang libclang-rt-14-dev googletest wine wine64 xvfb xauth x11-apps imagemagick x11-utils \
         lame flac vorbis-tools dpkg-dev libutfcpp-dev fonts-wine; do
  want "$p"
done
if [ ${#need_pkgs[@]} -gt 0 ] || [ "${apt_updated:-1}" = 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  [ ${#need_pkgs[@]} -gt 0 ] && apt-get install -y -q --no-install-recommends "${need_pkgs[@]}"
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
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DBUILD_BINDINGS=ON -DWITH_ZLIB=OFF \
    -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF \
    -DCMAKE_CXX_FLAGS="-I/usr/include/utf8cpp" \
    -DCMAKE_INSTALL_PREFIX="$taglib_prefix" >/dev/null
  cmake --build "$deps/taglib-build-$arch" -j2
  cmake --install "$deps/taglib-build-$arch" >/dev/null
done

# A Wine prefix for the tests; unmanaged X11 windows close quickly under a bare Xvfb.
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix} WINEARCH=win64 WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/.ready" ]; then
  rm -rf "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w || true
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w || true
  touch "$WINEPREFIX/.ready"
fi
# Wine's own fonts (Tahoma for the texts, Marlett for the title bars' buttons) from fonts-wine: this
# Wine build does not look in their folder, so the prefix's font folder gets a copy.
for font in /usr/share/wine/fonts/*; do
  [ -e "$WINEPREFIX/drive_c/windows/Fonts/${font##*/}" ] || cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
done
