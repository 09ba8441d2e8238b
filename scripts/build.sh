#!/usr/bin/env bash
# Builds the 32-bit program (build/windows), the 64-bit build of the same code with the Windows
# tests (build/win64), the native tests and fuzz targets (build/native), and, where this machine
# runs 32-bit programs (scripts/setup.sh found out), the Windows tests of the 32-bit build
# (build/win32).
# Usage: build.sh [--program-only | --programs]: only the 32-bit program, or both programs.
set -euo pipefail
source "$(dirname "$0")/environment.sh"
cd "$da3_root"
werror=${DA3_WERROR:-ON}
out=$da3_out

configure() {  # folder, then cmake options
  local dir=$1; shift
  [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja -DDA3_WERROR="$werror" "$@" >/dev/null
}
configure "$out/windows" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
cmake --build "$out/windows"

[ "${1:-}" = --program-only ] && exit 0

configure "$out/win64" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DDA3_WINDOWS_TESTS=ON -DCMAKE_CROSSCOMPILING_EMULATOR="$da3_root/scripts/wine-run.sh"
if [ "${1:-}" = --programs ]; then cmake --build "$out/win64" --target DA3Zur; exit 0; fi
cmake --build "$out/win64"
configure "$out/native" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$out/native"

if runs_32_bit; then
  configure "$out/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
    -DDA3_WINDOWS_TESTS=ON -DCMAKE_CROSSCOMPILING_EMULATOR="$da3_root/scripts/wine-run.sh"
  cmake --build "$out/win32"
fi
