#!/usr/bin/env bash
# The checker on a lived-in prefix (livedin.cpp: a dozen programs with the registrations real
# installers write, some removed badly, some on drives that are away, some in text the code
# page cannot hold): a full scan with every check ticked, then repair-all. Prints
#   - every row that names a planted entry that works or cannot be judged (FALSE), every planted
#     stale entry not found (MISSED) and the rows that name nothing planted (the prefix's own);
#   - rows reported, false findings, planted stale entries found;
#   - what works before the scan, and after repair-all: every planted working entry tried again
#     (programs started, documents opened and printed through their associations, verbs, Run
#     entries and uninstall commands run, the other registrations looked for).
#
#   bench/checker/livedin.sh [win64|win32]
#
# The programs measured are those of ZEPHRA_BUILD (build/win64/bin by default; build/win32/bin,
# the shipped 32-bit checker, with ZEPHRA_BUILD=win32 on a machine that runs 32-bit code), all
# of one bitness: Sanivo.exe, livedin.exe, livedin_app.exe, livedin_viewlib.dll and
# repair_driver.exe. The argument chooses the prefix: a 64-bit Windows (the default) or a 32-bit
# one. Drive D: is a CD-ROM drive without a disc, Q: is not there.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
kind=${1:-win64}
. "$root/scripts/wineenv.sh"
zephra_select_build || exit 1
bin=$ZEPHRA_BIN
zephra_make_template "$kind" || exit 1

P=$ZEPHRA_WINE_DIR/livedin-$$
trap 'zephra_stop_wine; rm -rf "$P"' EXIT
session() { zephra_wine_env "$P"; zephra_start_wineserver; }
stop() { wineserver -k; wineserver -w; }

zephra_copy_template "$P" "$kind"
mkdir -p "$P/cdrom"
ln -sfn "$P/cdrom" "$P/dosdevices/d:"
zephra_start_xvfb_if_needed || exit 1
session
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\r\n"d:"="cdrom"\r\n' \
  >"$P/drive_c/drives.reg"
zephra_wine regedit /s 'C:\drives.reg' </dev/null >/dev/null 2>&1
stop  # drive types are read when the wineserver starts

session
mkdir -p "$P/drive_c/sanivo" "$P/drive_c/livedin-bin"
cp "$bin/Sanivo.exe" "$P/drive_c/sanivo/"
for f in livedin.exe livedin_app.exe livedin_viewlib.dll repair_driver.exe; do
  cp "$bin/$f" "$P/drive_c/livedin-bin/"
done
run() { zephra_wine "$@" </dev/null; }
echo "checker: $bin/Sanivo.exe ($(file -b "$bin/Sanivo.exe" | cut -d, -f1)), prefix: $kind"
run 'C:\livedin-bin\livedin.exe' plant
echo
echo "== before the scan: what works in this prefix"
run 'C:\livedin-bin\livedin.exe' works | tail -n 2
echo
zephra_wine 'C:\sanivo\Sanivo.exe' </dev/null >/dev/null 2>&1 &
run 'C:\livedin-bin\repair_driver.exe' repair 'C:\rows.txt' --all
sleep 2
echo
echo "== the scan, judged against the table"
run 'C:\livedin-bin\livedin.exe' judge 'C:\rows.txt'
judged=$?
echo
echo "== after repair-all"
run 'C:\livedin-bin\livedin.exe' works
works=$?
stop
[ "$judged" -eq 0 ] && [ "$works" -eq 0 ]
