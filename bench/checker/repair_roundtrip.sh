#!/usr/bin/env bash
# Repair of everything a full scan finds in a Wine prefix with many planted findings, then the
# undo journal imported again:
# - the findings and the times of the scan and of the repair of all rows;
# - whether notepad, regedit and the Control Panel still start on the repaired system;
# - the lines in which a whole-registry export after the journal import differs from the export
#   before the repair, beside the lines in which two exports of an untouched copy differ (Wine
#   writes some display data afresh in every session).
#   bench/checker/repair_roundtrip.sh [Sanivo.exe to measure, default the built one]
# Needs a built preset: build/win64/bin, or build/win32/bin with ZEPHRA_BUILD=win32.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root/scripts/wineenv.sh"
zephra_select_build || exit 1
bin=$ZEPHRA_BIN

zephra_make_template || exit 1
base=$ZEPHRA_WINE_DIR/repair-roundtrip-$$
P=$base-p Q=$base-q R=$base-r
work=$(mktemp -d)
cleanup() {
  for x in "$P" "$Q" "$R"; do WINEPREFIX=$x wineserver -k 2>/dev/null; done
  zephra_stop_wine
  rm -rf "$P" "$Q" "$R" "$work"
}
trap cleanup EXIT
session() { zephra_wine_env "$1"; zephra_start_wineserver; }
stop() { wineserver -k; wineserver -w; }
export_to() { zephra_wine regedit /e "C:\\$1.reg" </dev/null >/dev/null 2>&1
              iconv -f UTF-16LE -t UTF-8 "$WINEPREFIX/drive_c/$1.reg" >"$work/$1.txt"; }
differing() { diff "$work/$1.txt" "$work/$2.txt" | grep -c '^[<>]'; }
# The same, without what Wine's display driver writes afresh in every session: the video
# device keys (named by a new GUID each time) and their "DriverDateData" time stamps.
own() { awk '/^\[/ { skip = ($0 ~ /\\Control\\Video\\\{/) } !skip && !/^"DriverDateData"=/' "$work/$1.txt"; }
differing_own() { diff <(own "$1") <(own "$2") | grep -c '^[<>]'; }

# Findings of every kind: empty application keys, values naming missing programs (some in
# subkeys, one with Chinese text), uninstall entries, empty and broken file types, shell verbs,
# context-menu handlers, Start-menu order entries, help files, fonts, shared DLLs; broken
# shortcuts on the desktop and empty Start-menu folders.
plant() {
  echo "REGEDIT4"
  local i
  for i in $(seq 20); do printf '\n[HKEY_CURRENT_USER\\Software\\PlantUserEmpty%s]\n' "$i"; done
  for i in $(seq 20); do printf '\n[HKEY_LOCAL_MACHINE\\Software\\PlantMachineEmpty%s]\n' "$i"; done
  printf '\n[HKEY_CURRENT_USER\\Software\\PlantRefs]\n@="C:\\\\PlantMissing\\\\default.exe"\n'
  printf '"C:\\\\PlantMissing\\\\byname.dll"="x"\n'  # a value whose name is the missing path
  for i in $(seq 50); do printf '"Ref%s"="C:\\\\PlantMissing\\\\app%s.exe /run"\n' "$i" "$i"; done
  for i in $(seq 5); do
    printf '\n[HKEY_CURRENT_USER\\Software\\PlantRefs\\Sub%s\\Deeper]\n' "$i"
    printf '"Path"="C:\\\\PlantMissing\\\\深%s\\\\a.exe"\n"Kept"=dword:00000005\n' "$i"
  done
  printf '\n[HKEY_LOCAL_MACHINE\\Software\\PlantRefs]\n"Bin"=hex:01,02,03\n'
  for i in $(seq 30); do printf '"Ref%s"="C:\\\\PlantMissing\\\\svc%s.exe"\n' "$i" "$i"; done
  local u='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall'
  for i in $(seq 10); do
    printf '\n[%s\\PlantUninstEmpty%s]\n' "$u" "$i"
    printf '\n[%s\\PlantUninst%s]\n"DisplayName"="Plant %s"\n' "$u" "$i" "$i"
    printf '"UninstallString"="C:\\\\PlantMissing\\\\unins%s.exe /x"\n' "$i"
    printf '\n[HKEY_LOCAL_MACHINE\\Software\\Classes\\.plantempty%s]\n' "$i"
  done
  local c='HKEY_LOCAL_MACHINE\Software\Classes'
  for i in $(seq 5); do
    printf '\n[%s\\plantfile%s\\Shell\\Open\\command]\n@="C:\\\\PlantMissing\\\\plant%s.exe %%1"\n' "$c" "$i" "$i"
    printf '\n[%s\\.plantext%s]\n@="plantfile%s"\n' "$c" "$i" "$i"
    printf '\n[%s\\.plantnone%s]\n@="plantnoclass%s"\n' "$c" "$i" "$i"
    printf '\n[%s\\*\\shell\\PlantVerb%s]\n' "$c" "$i"
    printf '\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\&Programs\\PlantGone%s]\n"Order"=hex:08,00\n' "$i"
  done
  for i in $(seq 3); do
    printf '\n[%s\\Directory\\shellex\\ContextMenuHandlers\\PlantHandler%s]\n' "$c" "$i"
    printf '@="{00000000-1111-2222-3333-44444444444%s}"\n' "$i"
  done
  printf '\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\Help]\n'
  for i in $(seq 5); do printf '"plant%s.hlp"="C:\\\\PlantMissing\\\\"\n' "$i"; done
  printf '\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Fonts]\n'
  for i in $(seq 5); do printf '"Plant Font %s (TrueType)"="plantfont%s.ttf"\n' "$i" "$i"; done
  printf '\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs]\n'
  for i in $(seq 5); do printf '"C:\\\\PlantMissing\\\\plant%s.dll"=dword:00000000\n' "$i"; done
}

zephra_copy_template "$P"
zephra_start_xvfb_if_needed || exit 1
session "$P"
app=$P/drive_c/sanivo
mkdir -p "$app"
cp "${1:-$bin/Sanivo.exe}" "$app/Sanivo.exe"
cp "$bin/repair_driver.exe" "$P/drive_c/"
plant | sed 's/$/\r/' | iconv -f UTF-8 -t GBK >"$P/drive_c/plant.reg"
zephra_wine_build regedit /s 'C:\plant.reg' </dev/null >/dev/null 2>&1
zephra_wine 'C:\repair_driver.exe' links 'C:\users\root\Desktop' 20 </dev/null
for i in $(seq 10); do
  mkdir -p "$P/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/PlantEmpty$i"
done
# A first start records the program's own path, so that the exports below do not differ by it.
zephra_wine 'C:\sanivo\Sanivo.exe' </dev/null >/dev/null 2>&1 &
zephra_wine 'C:\repair_driver.exe' close </dev/null
stop
cp -a "$P" "$R"

session "$P"
export_to before
zephra_wine 'C:\sanivo\Sanivo.exe' </dev/null >/dev/null 2>&1 &
zephra_wine 'C:\repair_driver.exe' repair </dev/null
sleep 3
stop
cp -a "$P" "$Q"

session "$P"
for journal in "$app"/Undo_Sanivo_*.reg; do
  zephra_wine regedit /s "C:\\sanivo\\$(basename "$journal")" </dev/null >/dev/null 2>&1
done
export_to after
stop
session "$R"
export_to untouched
stop
session "$Q"
export_to repaired
echo "export: $(wc -l <"$work/before.txt") lines"
echo "differing lines, repaired: $(differing before repaired)"
echo "differing lines, repaired and the journal imported: $(differing before after)" \
  "($(differing_own before after) besides Wine's display data)"
diff <(own before) <(own after)
echo "differing lines, an untouched copy in another session: $(differing before untouched)" \
  "($(differing_own before untouched) besides Wine's display data)"
zephra_wine 'C:\repair_driver.exe' starts </dev/null
stop
