#!/usr/bin/env bash
# Runs one Windows program under Wine with the project's test prefix.
#   scripts/wine.sh [--desktop=NAME] [--timeout=SECONDS] program.exe [arguments...]
# Inside a test run (scripts/test.sh) it uses that run's prefix, wineserver and display; on its own
# it sets up a private prefix (a 64-bit Windows; ZEPHRA_PREFIX_KIND=win32 for a 32-bit one) and
# Xvfb when there is no display, for this one command, and removes them again. --desktop puts the
# program (and the processes it starts) into the named virtual desktop; "shell" is the desktop
# with Wine's own taskbar window.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/wineenv.sh"
export ZEPHRA_SCRIPT=${ZEPHRA_SCRIPT:-wine}

desktop=
limit=${ZEPHRA_WINE_TIMEOUT:-300}
while [ $# -gt 0 ]; do
  case "$1" in
    --desktop=*) desktop=${1#--desktop=}; shift ;;
    --timeout=*) limit=${1#--timeout=}; shift ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || { echo "usage: scripts/wine.sh [--desktop=NAME] [--timeout=S] program.exe [args]" >&2; exit 2; }

if [ -n "${ZEPHRA_WINE_PREFIX:-}" ]; then
  zephra_wine_env "$ZEPHRA_WINE_PREFIX"
else
  kind=${ZEPHRA_PREFIX_KIND:-win64}
  zephra_make_template "$kind" || exit 1
  prefix=$ZEPHRA_WINE_DIR/adhoc-$$
  zephra_copy_template "$prefix" "$kind"
  zephra_wine_env "$prefix"
  trap 'zephra_stop_wine; rm -rf "$prefix"' EXIT
  zephra_start_xvfb_if_needed || exit 1
  zephra_start_wineserver
fi

program=$1
shift
if [ -n "$desktop" ]; then
  zephra_step "choosing the virtual desktop \"$desktop\" for $(basename "$program")" \
    zephra_wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$program")\\Explorer" \
    /v Desktop /d "$desktop" /f || exit 1
fi
timeout -k 5 "$limit" "$(zephra_loader)" "$program" "$@" </dev/null
