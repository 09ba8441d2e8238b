#!/usr/bin/env bash
# Fails when a source file includes from a floor above its own, or from a folder beside it on the
# same floor. The floors, from the ground up (CMakeLists.txt says what each holds):
#   base < tags < settings < window_kit, file_steps < editor, sorter, configure < app
# Usage: check_includes.sh [source root]
set -uo pipefail
cd "${1:-$(dirname "$0")/..}"
declare -A floor=([base]=0 [tags]=1 [settings]=2 [window_kit]=3 [file_steps]=3 [editor]=4 [sorter]=4
                  [configure]=4 [app]=5)
bad=0
for folder in "${!floor[@]}"; do
  for file in "$folder"/*.h "$folder"/*.cpp "$folder"/*.rc; do
    [ -f "$file" ] || continue
    while IFS=: read -r line included; do
      to=${included%%/*}
      [ -n "${floor[$to]+set}" ] || continue  # not one of our folders
      if [ "$to" != "$folder" ] && [ "${floor[$to]}" -ge "${floor[$folder]}" ]; then
        echo "$file:$line includes $included, which is not on a floor below $folder/"
        bad=1
      fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
             sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/')
  done
done
[ $bad -eq 0 ] && echo "includes: every folder includes only from the floors below it"
exit $bad
