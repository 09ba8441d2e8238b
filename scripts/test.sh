#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: native (sanitizers), a short
# run of each fuzz target, and the Windows tests under Wine on a virtual display.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${DA3_BUILD_ROOT:-build}
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix} WINEDEBUG=-all
bash scripts/setup.sh || exit 1
bash scripts/build.sh || exit 1
bash scripts/make_fixtures.sh build/fixtures || exit 1
failed=0

echo "== native tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
(cd "$out/native" && ctest --output-on-failure) || failed=1

echo "== fuzz targets (bounded runs on the seed corpora)"
bash scripts/fuzz.sh "${DA3_FUZZ_SECONDS:-20}" || failed=1

echo "== Windows tests under Wine"
bash scripts/small_disk.sh mount
xvfb-run -a -s "-screen 0 1280x1024x24" \
  bash -c "cd '$out/win64' && ctest --output-on-failure --timeout 300" || failed=1
bash scripts/small_disk.sh unmount
wineserver -k 2>/dev/null || true

if [ $failed -ne 0 ]; then echo "SOME TESTS FAILED"; else echo "ALL TESTS PASSED"; fi
exit $failed
