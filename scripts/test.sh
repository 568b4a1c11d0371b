#!/usr/bin/env bash
# Installs what is missing, builds both targets (win32: the 32-bit programs we ship; win64: the
# same programs with tests), runs every test under Wine, then makes and checks the packages
# (scripts/package.sh). Extra arguments go to ctest, and the packages are then left alone.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/setup.sh
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

# The programs we ship must start on Windows XP SP3: no import XP lacks, a header XP accepts.
# A failure here fails the run, after the tests have had their say.
xp_status=0
python3 tools/check_xp_imports.py build/win32/bin/{ZephraShell,Prindle,Palomid,Sanivo}.exe ||
  xp_status=$?

. scripts/wineenv.sh
zephra_make_template
prefix=$ZEPHRA_WINE_DIR/test-prefix
zephra_copy_template "$prefix"
zephra_wine_env "$prefix"
trap zephra_stop_wine EXIT
zephra_start_xvfb_if_needed
zephra_start_wineserver
export ZEPHRA_WINE_PREFIX=$prefix

# Wine closes a virtual desktop soon after its last program ends; a tiny idle program keeps the
# tests' desktop open so that every test starts in the same, settled desktop. The tests wait until
# it stands: a test that started the desktop itself would hand Wine's desktop process its output,
# and CTest would wait for that output to close, until the test's time-out.
wine build/win64/bin/zephra_keeper.exe 'C:\keeper.ready' </dev/null >/dev/null 2>&1 &
for _ in $(seq 1 300); do
  [ -e "$prefix/drive_c/keeper.ready" ] && break
  sleep 0.1
done

ctest_status=0
# The end-to-end tests drive real input in Wine's virtual desktop, whose foreground handling
# loses an input now and then: a test program that fails runs once more, and both runs are logged.
ctest --preset win64 --repeat until-pass:2 "$@" || ctest_status=$?
status=$ctest_status
if [ $# -eq 0 ]; then
  ZEPHRA_BUILT=1 scripts/package.sh || status=1
fi
if [ "$xp_status" -ne 0 ]; then
  echo "test: the programs in build/win32/bin would not start on Windows XP SP3 (see the XP check above)"
  exit 1
fi
exit "$status"
