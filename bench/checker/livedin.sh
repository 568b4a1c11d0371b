#!/usr/bin/env bash
# The checker on a lived-in prefix (livedin.cpp: a dozen programs with the registrations real
# installers write, some removed badly, some on drives that are away, some in text the code
# page cannot hold): a full scan with every ticked check, then repair-all. Prints
#   - every row that names a planted entry that works or cannot be judged (FALSE), every planted
#     stale entry not found (MISSED) and the rows that name nothing planted (the prefix's own);
#   - rows reported, false findings, planted stale entries found;
#   - after repair-all: every planted working entry checked again (programs started, documents
#     opened and printed through their associations, verbs, Run entries and uninstall commands
#     run, the other registrations looked for).
#
#   bench/checker/livedin.sh [--win32] [BIN]
#
# BIN is the folder of the programs measured, all of one bitness (default build/win64/bin):
# Sanivo.exe, livedin.exe, livedin_app.exe, livedin_viewlib.dll and repair_driver.exe.
# --win32 makes a 32-bit Windows prefix (WINEARCH=win32) instead of copying the 64-bit template:
# it needs Wine's 32-bit support and a 32-bit BIN. Drive D: is a CD-ROM drive without a disc,
# Q: is not there.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
arch=win64
if [ "${1:-}" = "--win32" ]; then arch=win32; shift; fi
bin=$(cd "${1:-$root/build/win64/bin}" && pwd)
. "$root/scripts/wineenv.sh"

P=$ZEPHRA_WINE_DIR/livedin-$$
work=$(mktemp -d)
cleanup() {
  zephra_stop_wine
  rm -rf "$P" "$work"
}
trap cleanup EXIT
session() { zephra_wine_env "$P"; zephra_start_wineserver; }
stop() { wineserver -k; wineserver -w; }

if [ "$arch" = win64 ]; then
  zephra_make_template || exit 1
  zephra_copy_template "$P"
else
  # A 32-bit Windows, set up as the template is (no Z:, the user folders its own).
  zephra_wine_env "$P"
  WINEARCH=win32 wineboot -i </dev/null >/dev/null 2>&1 || { echo "livedin: no 32-bit Wine"; exit 1; }
  wineserver -w
  rm -f "$P/dosdevices/z:"
  for u in "$P"/drive_c/users/*/; do
    for d in Desktop Documents Downloads Music Pictures Videos; do
      if [ -L "$u$d" ]; then rm -f "$u$d"; mkdir -p "$u$d"; fi
    done
  done
fi
mkdir -p "$P/cdrom"
ln -sfn "$P/cdrom" "$P/dosdevices/d:"
zephra_start_xvfb_if_needed || exit 1
session
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\r\n"d:"="cdrom"\r\n' \
  >"$P/drive_c/drives.reg"
wine regedit /s 'C:\drives.reg' </dev/null >/dev/null 2>&1
stop  # drive types are read when the wineserver starts

session
mkdir -p "$P/drive_c/sanivo" "$P/drive_c/livedin-bin"
cp "$bin/Sanivo.exe" "$P/drive_c/sanivo/"
for f in livedin.exe livedin_app.exe livedin_viewlib.dll repair_driver.exe; do
  cp "$bin/$f" "$P/drive_c/livedin-bin/"
done
echo "checker: $bin/Sanivo.exe ($(file -b "$bin/Sanivo.exe" | cut -d, -f1)), prefix: $arch"
wine 'C:\livedin-bin\livedin.exe' plant </dev/null
echo
echo "== before the scan: what works in this prefix"
wine 'C:\livedin-bin\livedin.exe' works </dev/null | tail -n 2
echo
wine 'C:\sanivo\Sanivo.exe' </dev/null >/dev/null 2>&1 &
wine 'C:\livedin-bin\repair_driver.exe' repair 'C:\rows.txt' --all </dev/null
sleep 2
echo
echo "== the scan, judged against the table"
wine 'C:\livedin-bin\livedin.exe' judge 'C:\rows.txt' </dev/null
judged=$?
echo
echo "== after repair-all"
wine 'C:\livedin-bin\livedin.exe' works </dev/null
works=$?
cp "$P/drive_c/rows.txt" "$work/" 2>/dev/null
stop
[ "$judged" -eq 0 ] && [ "$works" -eq 0 ]
