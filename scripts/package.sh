#!/usr/bin/env bash
# Makes the desktop's packages and checks them. Run after a build (scripts/test.sh runs it); on
# its own it installs what is missing and builds first.
#   build/win32/packages/Zephra-<version>-win32.zip  portable ZIP of the 32-bit programs
#   build/win32/packages/Zephra-<version>-win32.exe  their installer (the one we ship)
#   build/win64/packages/Zephra-<version>-win64.exe  the same installer script for NSIS's
#       amd64-unicode target with the 64-bit programs: this Wine runs 64-bit programs only, so
#       this is the one installed and uninstalled here, silently, in a fresh Wine prefix
# Checks: the ZIP holds exactly the intended files, the shipped installer holds the same files,
# and the round trip of tests/package/install_test.cpp passes.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD

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
(cd build/win32 && cpack -G "ZIP;NSIS" >/dev/null)
(cd build/win64 && cpack -G NSIS >/dev/null)
zip=build/win32/packages/$name-win32.zip
setup32=build/win32/packages/$name-win32.exe
setup64=build/win64/packages/$name-win64.exe

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

# The round trip, in a fresh copy of the test prefix with its own wineserver.
. scripts/wineenv.sh
zephra_make_template
prefix=$ZEPHRA_WINE_DIR/package-prefix
zephra_copy_template "$prefix"
(
  zephra_wine_env "$prefix"
  unset ZEPHRA_WINE_PREFIX
  trap 'zephra_stop_wine; rm -rf "$prefix"' EXIT
  zephra_start_xvfb_if_needed
  zephra_start_wineserver
  wine build/win64/bin/zephra_keeper.exe </dev/null >/dev/null 2>&1 &
  export ZEPHRA_PACKAGE_VERSION=$version
  export ZEPHRA_PACKAGE_SETUP="Y:\\${setup64//\//\\}"  # the repository is drive Y:
  folder=$prefix/drive_c/Zephra

  install() {
    timeout -k 5 120 wine "$setup64" /S "$@" </dev/null >/dev/null 2>&1 || fail "the installer failed"
  }
  # The uninstaller copies itself away and returns at once; its copy removes the folder's files.
  uninstall() {
    timeout -k 5 60 wine 'C:\Zephra\Uninstall.exe' /S "$@" </dev/null >/dev/null 2>&1 || fail "the uninstaller failed"
    for _ in $(seq 1 300); do [ -e "$folder/Uninstall.exe" ] || return 0; sleep 0.1; done
    fail "the uninstaller did not finish"
  }
  phase() {
    timeout -k 5 180 wine build/win64/bin/package_install_tests.exe --gtest_filter="$1.*" \
      --gtest_color=no </dev/null || fail "phase $1 failed"
  }
  install;   phase Installed
  uninstall; phase Uninstalled
  install /STARTUP; phase Reinstalled
  uninstall /REMOVEUSERFILES; phase RemovedWithUserFiles
)
echo "package: the installer's round trip passed; packages in build/win32/packages"
