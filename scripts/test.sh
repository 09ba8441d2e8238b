#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every check and test: the shape of the code
# (includes go only down the floors, clang-format), native (sanitizers), a short
# run of each fuzz target, the Windows tests under Wine on a virtual display (on the 64-bit build,
# and on the shipped 32-bit build where this machine runs 32-bit programs), and run.sh headless.
set -uo pipefail
source "$(dirname "$0")/environment.sh"
cd "$da3_root"
bash scripts/setup.sh || exit 1
bash scripts/build.sh || exit 1
bash scripts/make_fixtures.sh "$da3_cache/fixtures" || exit 1
failed=0

echo "== the shape of the code"
bash scripts/check_includes.sh || failed=1
bash scripts/check_format.sh || failed=1

echo "== native tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
(cd "$da3_out/native" && ctest --output-on-failure) || failed=1

echo "== fuzz targets (bounded runs on the seed corpora)"
bash scripts/fuzz.sh "${DA3_FUZZ_SECONDS:-20}" || failed=1

windows_tests() {  # build folder
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash -c "cd '$1' && ctest --output-on-failure --timeout 300" || failed=1
}
bash scripts/small_disk.sh mount
echo "== Windows tests under Wine, 64-bit build"
windows_tests "$da3_out/win64"
if runs_32_bit; then
  echo "== Windows tests under 32-bit Wine, the shipped 32-bit build"
  windows_tests "$da3_out/win32"
else
  echo "32-bit programs do not run here ($(cat "$da3_runs32_file")): the Windows tests ran on the" \
       "64-bit build only."
fi
bash scripts/small_disk.sh unmount

echo "== run.sh without a display"
rm -f "$da3_cache/screenshot.png"
if env -u DISPLAY bash scripts/run.sh >/dev/null && [ -s "$da3_cache/screenshot.png" ]; then
  echo "run.sh saved its picture: $da3_cache/screenshot.png"
else
  echo "run.sh did not save its picture"; failed=1
fi
wineserver -k 2>/dev/null || true
WINEPREFIX=$WINEPREFIX32 wineserver -k 2>/dev/null || true

if [ $failed -ne 0 ]; then echo "SOME TESTS FAILED"; else echo "ALL TESTS PASSED"; fi
exit $failed
