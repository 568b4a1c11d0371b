#!/usr/bin/env bash
# Start-up of ZephraShell against the bare floor program (bench/floor), measured on copies without
# debug information, as the programs ship (Wine reads the x86_64 build's 6 MB of it with the image).
#   bench/startup/startup_bench.sh [alternated runs, default 15]
# Needs a built preset: build/win64/bin, or build/win32/bin with ZEPHRA_BUILD=win32.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root/scripts/wineenv.sh"
zephra_select_build || exit 1
strip=x86_64-w64-mingw32-strip
[ "$ZEPHRA_BUILD" = win32 ] && strip=i686-w64-mingw32-strip
# Inside the build tree, where the prefix sees it as it sees the programs.
copies=$root/build/startup-bench-$$
trap 'rm -rf "$copies"' EXIT
mkdir -p "$copies"
for exe in shell_startup_bench.exe ZephraShell.exe floor_desktop.exe; do
  cp "$ZEPHRA_BIN/$exe" "$copies/" || exit 1
done
"$strip" --strip-debug "$copies"/*.exe
"$root/scripts/wine.sh" --desktop=shell "$copies/shell_startup_bench.exe" "${1:-15}"
