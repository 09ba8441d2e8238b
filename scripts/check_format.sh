#!/usr/bin/env bash
# Fails when a C++ file of the program or its tests differs from what clang-format makes of it
# (.clang-format); lists those files. With --fix, formats them instead.
set -uo pipefail
source "$(dirname "$0")/environment.sh"
cd "$da3_root"
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then clang-format -i "${files[@]}"; exit 0; fi
bad=0
for file in "${files[@]}"; do
  if ! clang-format "$file" | cmp -s - "$file"; then echo "not formatted: $file"; bad=1; fi
done
[ $bad -eq 0 ] && echo "format: every C++ file is as clang-format makes it (.clang-format)"
exit $bad
