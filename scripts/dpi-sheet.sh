#!/usr/bin/env bash
# Renders the four programs at 96, 120 and 144 dpi and puts the pictures side by side into one
# sheet, build/dpi/sheet.png (one row per scene, one column per dpi), for a person to compare at
# a glance. Each dpi runs in its own copy of the test prefix with the screen's logical dpi
# (HKCU\Control Panel\Desktop LogPixels, read by every program at its start) set there; the
# scenes are those of scripts/screenshots.sh, taken by tests/screens/screens.cpp.
#   scripts/dpi-sheet.sh [scene ...]     (no scene: all of them)
# ZEPHRA_DPIS="96 120" picks other settings.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD

export ZEPHRA_SCRIPT=dpi-sheet
. scripts/wineenv.sh
zephra_select_build
cmake --preset "$ZEPHRA_BUILD" >/dev/null
cmake --build --preset "$ZEPHRA_BUILD" -j2 --target zephra_screens
bin=build/$ZEPHRA_BUILD/bin
zephra_make_template
out=$root/build/dpi
rm -rf "$out"
mkdir -p "$out"

for dpi in ${ZEPHRA_DPIS:-96 120 144}; do
  work=$out/$dpi
  mkdir -p "$work"
  cp "$bin"/{ZephraShell,Prindle,Palomid,Sanivo}.exe "$bin"/Tarqcc.chm \
    config/SysInfo.ini "$work/"
  prefix=$ZEPHRA_WINE_DIR/dpi-prefix-$dpi
  zephra_copy_template "$prefix"
  (
    zephra_wine_env "$prefix"
    unset DISPLAY ZEPHRA_WINE_PREFIX  # a private screen for each setting
    trap 'zephra_stop_wine; rm -rf "$prefix"' EXIT
    zephra_start_xvfb_if_needed
    zephra_start_wineserver
    zephra_step "setting $dpi dpi" \
      zephra_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
    zephra_step "choosing the desktop with a Windows taskbar" \
      zephra_wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f
    echo "dpi-sheet: $dpi dpi"
    rel=${work#"$root"/}
    timeout -k 5 600 "$(zephra_loader)" "$bin/zephra_screens.exe" "Y:\\${rel//\//\\}" "$@" \
      </dev/null || echo "dpi-sheet: some scenes of $dpi dpi failed" >&2
  )
done

# One row per scene: the settings side by side, labelled, at their own size (never scaled, so that
# a pixel of the sheet is a pixel of the screen). Whole-screen scenes are cut to what they show.
crop_of() {
  case "$1" in
    screenshot) echo 400x768+0+0 ;;  # the exit button and the desktop icons
    startmenu) echo 640x568+0+200 ;;  # the start menu, the submenu and the strip below
    taskbar) echo 1024x90+0+678 ;;    # the strip and the work area's last rows
    *) echo "" ;;
  esac
}
font=$(fc-match -f '%{file}' 'DejaVu Sans')
rows=()
for shot in "$out"/96/*.png; do
  scene=$(basename "$shot" .png)
  tiles=()
  for dpi in ${ZEPHRA_DPIS:-96 120 144}; do
    file=$out/$dpi/$scene.png
    [ -f "$file" ] || continue
    crop=$(crop_of "$scene")
    if [ -n "$crop" ]; then
      convert "$file" -crop "$crop" +repage "$out/$dpi/$scene-part.png"
      file=$out/$dpi/$scene-part.png
    fi
    tiles+=(-label "$scene, $dpi dpi" "$file")
  done
  montage -font "$font" "${tiles[@]}" -tile x1 -geometry +8+8 -background '#d8d8d8' \
    "$out/row-$scene.png"
  rows+=("$out/row-$scene.png")
done
convert "${rows[@]}" -background "#d8d8d8" -gravity west -append +repage "$out/sheet.png"
rm -f "${rows[@]}"
echo "dpi-sheet: $out/sheet.png"
