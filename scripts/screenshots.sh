#!/usr/bin/env bash
# Takes the README's pictures again: builds the programs (those of ZEPHRA_BUILD, see
# scripts/wineenv.sh), runs the shell in a fresh Wine
# prefix on a private virtual screen (in the desktop with a Windows taskbar for the shell to take
# over) and lets tests/screens/screens.cpp take each scene; the pictures go to docs/.
#   scripts/screenshots.sh [scene ...]     (no scene: all of them)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

export ZEPHRA_SCRIPT=screenshots
scripts/setup.sh
. scripts/wineenv.sh
zephra_select_build
cmake --preset "$ZEPHRA_BUILD" >/dev/null
cmake --build --preset "$ZEPHRA_BUILD"
bin=build/$ZEPHRA_BUILD/bin

# The programs run from a folder of their own, with the sample configuration.
work=build/screens
rm -rf "$work"
mkdir -p "$work"
cp "$bin"/{ZephraShell,Prindle,Palomid,Sanivo,zephra_notifier}.exe "$bin"/Tarqcc.chm \
  config/SysInfo.ini "$work/"

zephra_make_template
prefix=$ZEPHRA_WINE_DIR/screens-prefix
zephra_copy_template "$prefix"
zephra_wine_env "$prefix"
unset DISPLAY ZEPHRA_WINE_PREFIX  # a private screen: no picture shows the developer's desktop
trap 'zephra_stop_wine; rm -rf "$prefix"' EXIT
zephra_start_xvfb_if_needed
zephra_start_wineserver
zephra_step "choosing the desktop with a Windows taskbar" \
  zephra_wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f

# The repository is drive Y: in the prefix.
timeout -k 5 600 "$(zephra_loader)" "$bin/zephra_screens.exe" "Y:\\${work//\//\\}" "$@" </dev/null
for shot in "$work"/*.png; do
  convert "$shot" -strip -define png:compression-level=9 "docs/$(basename "$shot")"
  echo "screenshots: docs/$(basename "$shot")"
done
