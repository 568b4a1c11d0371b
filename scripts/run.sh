#!/usr/bin/env bash
# Installs what is missing, builds, and starts ZephraShell under Wine in a 1024x768 virtual
# desktop that has a Windows taskbar for the shell to take over.
#  - With an X display: the desktop opens as a window on it; end the shell with its exit button.
#  - Without one: a virtual display is started, the shell runs, a screenshot is saved (the path
#    is printed; ZEPHRA_SCREENSHOT overrides it) and the shell is ended with its exit button.
# The programs run from build/win64/bin (ZEPHRA_BUILD=win32: the shipped 32-bit programs of
# build/win32/bin, on a machine that runs 32-bit code); the sample SysInfo.ini is put there when
# none is. Every step that fails says so, with the reason.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
export ZEPHRA_SCRIPT=run

scripts/setup.sh
. scripts/wineenv.sh
zephra_select_build
cmake --preset "$ZEPHRA_BUILD" >/dev/null
cmake --build --preset "$ZEPHRA_BUILD" --target ZephraShell

bin=$ZEPHRA_BIN
[ -f "$bin/SysInfo.ini" ] || cp config/SysInfo.ini "$bin/SysInfo.ini"

headless=1
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then headless=0; fi

zephra_make_template
prefix=$ZEPHRA_WINE_DIR/run-prefix
[ -d "$prefix" ] || zephra_copy_template "$prefix"  # kept between runs
zephra_wine_env "$prefix"
trap zephra_stop_wine EXIT
zephra_start_xvfb_if_needed
zephra_start_wineserver
zephra_step "choosing the desktop with a Windows taskbar for the shell" \
  zephra_wine reg add 'HKCU\Software\Wine\AppDefaults\ZephraShell.exe\Explorer' /v Desktop /d shell /f

if [ "$headless" = 0 ]; then
  echo "run: ZephraShell is starting on $DISPLAY; its exit button (退出) ends it"
  (cd "$bin" && zephra_wine ZephraShell.exe </dev/null)
  exit 0
fi

shot=${ZEPHRA_SCREENSHOT:-$root/build/screenshot.png}
log=$(mktemp)
(cd "$bin" && zephra_wine ZephraShell.exe </dev/null >"$log" 2>&1) &
shell_pid=$!
sleep "${ZEPHRA_SETTLE_SECONDS:-4}"
if ! kill -0 "$shell_pid" 2>/dev/null; then
  echo "run: ZephraShell ended before the screenshot; its output:" >&2
  sed 's/^/    /' "$log" >&2
  exit 1
fi
zephra_step "taking the screenshot" import -display "$DISPLAY" -window root "$shot"
echo "run: screenshot saved to $shot"
# End the shell as a user would: a click on its exit button at the top left.
xdotool mousemove 44 22 click 1
for _ in $(seq 1 100); do
  kill -0 "$shell_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$shell_pid" 2>/dev/null; then
  echo "run: the shell did not end on its exit button" >&2
  exit 1
fi
rm -f "$log"
echo "run: the shell ended"
