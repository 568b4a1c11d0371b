#!/usr/bin/env bash
# Makes the desktop's packages and checks them. Run after a build (scripts/test.sh runs it); on
# its own it installs what is missing and builds first.
#   build/win32/packages/Zephra-<version>-win32.zip  portable ZIP of the 32-bit programs
#   build/win32/packages/Zephra-<version>-win32.exe  their installer (the one we ship)
# Checks: the ZIP holds exactly the intended files, the shipped installer holds the same files,
# and the round trip of tests/package/install_test.cpp passes: the shipped installer installed and
# uninstalled silently in a fresh 64-bit Windows prefix and in a fresh 32-bit one. Where this
# machine cannot run 32-bit programs (ZEPHRA_BUILD=win64, see scripts/wineenv.sh), the round trip
# installs a stand-in made only for it: the same installer script for NSIS's amd64-unicode target
# with the 64-bit programs, build/win64/packages/Zephra-<version>-win64.exe.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD

export ZEPHRA_SCRIPT=package
. scripts/wineenv.sh
if [ -z "${ZEPHRA_BUILT:-}" ]; then
  scripts/setup.sh
  for preset in win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
  done
fi

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' build/win32/CPackConfig.cmake)
[ -n "$version" ] || { echo "package: no version in build/win32/CPackConfig.cmake" >&2; exit 1; }
name=Zephra-$version
echo "package: making $name"
zephra_select_build
(cd build/win32 && cpack -G "ZIP;NSIS" >/dev/null)
zip=build/win32/packages/$name-win32.zip
setup32=build/win32/packages/$name-win32.exe
if [ "$ZEPHRA_BUILD" = win32 ]; then
  setup=$setup32
else
  (cd build/win64 && cpack -G NSIS >/dev/null)
  setup=build/win64/packages/$name-win64.exe
fi

fail() { echo "package: $*" >&2; exit 1; }

# Exactly these files, in one folder named after the package.
intended=$(printf '%s\n' Palomid.exe Prindle.exe README.txt Sanivo.exe SysInfo.ini Tarqcc.chm \
  ZephraShell.exe | sort)
inZip=$(unzip -Z1 "$zip" | grep -v '/$' | sed "s#^$name-win32/##" | sort)
[ "$inZip" = "$intended" ] || fail "the ZIP holds: $(echo $inZip)"
unzip -Z1 "$zip" | grep -qv "^$name-win32/" && fail "the ZIP has files outside $name-win32/"

# The shipped installer holds the same files (7-Zip reads NSIS installers) and its uninstaller.
inSetup=$(7zz l -slt "$setup32" | sed -n '/^----------$/,$ s/^Path = //p' |
  grep -v '^\$PLUGINSDIR/' | sort)
[ "$inSetup" = "$(printf '%s\n' $intended Uninstall.exe | sort)" ] ||
  fail "the 32-bit installer holds: $(echo $inSetup)"
# The packages we ship are the 32-bit ones, programs and installer alike.
unpacked=$(mktemp -d)
unzip -q "$zip" -d "$unpacked"
for exe in "$unpacked/$name-win32"/*.exe "$setup32"; do
  file -b "$exe" | grep -q '^PE32 executable' || fail "$(basename "$exe") is not a 32-bit program"
done
rm -rf "$unpacked"
echo "package: $zip and $setup32 hold exactly: $(echo $intended)"

# The round trip, in a fresh copy of a test prefix with its own wineserver.
round_trip() {
  local kind=$1 prefix
  zephra_make_template "$kind"
  prefix=$ZEPHRA_WINE_DIR/package-prefix-$kind
  zephra_copy_template "$prefix" "$kind"
  (
    zephra_wine_env "$prefix"
    unset ZEPHRA_WINE_PREFIX
    trap 'zephra_stop_wine; rm -rf "$prefix"' EXIT
    zephra_start_xvfb_if_needed
    zephra_start_wineserver
    loader=$(zephra_loader)
    "$loader" "$ZEPHRA_BIN/zephra_keeper.exe" </dev/null >/dev/null 2>&1 &
    export ZEPHRA_PACKAGE_VERSION=$version
    export ZEPHRA_PACKAGE_SETUP="Y:\\${setup//\//\\}"  # the repository is drive Y:
    folder=$prefix/drive_c/Zephra

    install() {
      timeout -k 5 120 "$loader" "$setup" /S "$@" </dev/null >/dev/null 2>&1 ||
        fail "the installer failed ($kind prefix)"
    }
    # The uninstaller copies itself away and returns at once; its copy removes the folder's files.
    uninstall() {
      timeout -k 5 60 "$loader" 'C:\Zephra\Uninstall.exe' /S "$@" </dev/null >/dev/null 2>&1 ||
        fail "the uninstaller failed ($kind prefix)"
      for _ in $(seq 1 300); do [ -e "$folder/Uninstall.exe" ] || return 0; sleep 0.1; done
      fail "the uninstaller did not finish ($kind prefix)"
    }
    phase() {
      timeout -k 5 180 "$loader" "$ZEPHRA_BIN/package_install_tests.exe" --gtest_filter="$1.*" \
        --gtest_color=no </dev/null || fail "phase $1 failed ($kind prefix)"
    }
    install;   phase Installed
    uninstall; phase Uninstalled
    install /STARTUP; phase Reinstalled
    uninstall /REMOVEUSERFILES; phase RemovedWithUserFiles
  )
  echo "package: the installer's round trip passed in a $kind Windows prefix ($(basename "$setup"))"
}

round_trip win64
[ "$ZEPHRA_BUILD" = win32 ] && round_trip win32
echo "package: packages in build/win32/packages"
