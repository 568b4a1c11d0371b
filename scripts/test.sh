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
# tests' desktop open so that every test starts in the same, settled desktop.
wine build/win64/bin/zephra_keeper.exe </dev/null >/dev/null 2>&1 &

status=0
ctest --preset win64 "$@" || status=$?
if [ $# -eq 0 ]; then
  ZEPHRA_BUILT=1 scripts/package.sh || status=1
fi
exit "$status"
