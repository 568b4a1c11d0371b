#!/usr/bin/env bash
# Installs what is missing, builds both targets (win32: the 32-bit programs we ship, with their
# tests; win64: the same code and tests for x86_64), runs every test under Wine, then makes and
# checks the packages (scripts/package.sh). Extra arguments go to ctest, and the packages are then
# left alone.
#
# The tests start the programs of ZEPHRA_BUILD (see scripts/wineenv.sh): with win64, the default,
# one pass in a 64-bit Windows prefix; with win32, the shipped programs, a pass in a 64-bit
# Windows prefix (where they run as 32-bit programs on 64-bit Windows) and a second pass in a
# 32-bit Windows prefix.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
export ZEPHRA_SCRIPT=test

scripts/setup.sh
. scripts/wineenv.sh
zephra_select_build
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

# The programs we ship must start on Windows XP SP3: no import XP lacks, a header XP accepts.
# A failure here fails the run, after the tests have had their say.
xp_status=0
python3 tools/check_xp_imports.py build/win32/bin/{ZephraShell,Prindle,Palomid,Sanivo}.exe ||
  xp_status=$?

if [ "$ZEPHRA_BUILD" = win64 ]; then
  if zephra_machine_runs_32bit; then
    echo "test: the tests run the x86_64 build; ZEPHRA_BUILD=win32 runs them on the shipped programs"
  else
    echo "test: the tests run the x86_64 build: this machine cannot run 32-bit code, so the" \
      "shipped programs of build/win32/bin are built, checked and packaged but not started"
  fi
fi

trap zephra_stop_wine EXIT
zephra_start_xvfb_if_needed

# One pass of the suite in a fresh copy of the template of a kind (win64 or win32).
run_pass() {
  local kind=$1 prefix status=0
  shift
  zephra_make_template "$kind"
  prefix=$ZEPHRA_WINE_DIR/test-prefix-$kind
  zephra_copy_template "$prefix" "$kind"
  zephra_wine_env "$prefix"
  zephra_start_wineserver
  export ZEPHRA_WINE_PREFIX=$prefix
  echo "test: $ZEPHRA_BUILD programs in a $kind Windows prefix"
  # Wine closes a virtual desktop soon after its last program ends; a tiny idle program keeps the
  # tests' desktop open so that every test starts in the same, settled desktop. The tests wait
  # until it stands: a test that started the desktop itself would hand Wine's desktop process its
  # output, and CTest would wait for that output to close, until the test's time-out.
  zephra_wine "$ZEPHRA_BIN/zephra_keeper.exe" 'C:\keeper.ready' </dev/null >/dev/null 2>&1 &
  for _ in $(seq 1 300); do
    [ -e "$prefix/drive_c/keeper.ready" ] && break
    sleep 0.1
  done
  # The end-to-end tests drive real input in Wine's virtual desktop, whose foreground handling
  # loses an input now and then: a test program that fails runs once more, and both runs are
  # logged.
  ctest --preset "$ZEPHRA_BUILD" --repeat until-pass:2 "$@" || status=$?
  zephra_stop_wineserver
  unset ZEPHRA_WINE_PREFIX
  return "$status"
}

status=0
run_pass win64 "$@" || status=1
if [ "$ZEPHRA_BUILD" = win32 ]; then
  run_pass win32 "$@" || status=1
fi
if [ $# -eq 0 ]; then
  ZEPHRA_BUILT=1 scripts/package.sh || status=1
fi
if [ "$xp_status" -ne 0 ]; then
  echo "test: the programs in build/win32/bin would not start on Windows XP SP3 (see the XP check above)"
  exit 1
fi
exit "$status"
