# Shared Wine set-up for the run, test and wine scripts. Source it; it defines functions only.
#
# One template prefix is made once (and again when Wine or this file changes) and copied for
# every run. The copy has no Z: drive, user folders that are empty folders of its own instead of
# links into $HOME, and the repository mapped as network drive Y: (so that walks of fixed drives
# never reach it). Programs run in a 1024x768 virtual desktop: "default" for the tests, "shell"
# (which has Wine's own taskbar window, class Shell_TrayWnd) for everything that must see one.

ZEPHRA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZEPHRA_WINE_DIR=${ZEPHRA_WINE_DIR:-$ZEPHRA_ROOT/build/wine}
ZEPHRA_SCREEN=${ZEPHRA_SCREEN:-1024x768}

zephra_wine_env() {
  export WINEPREFIX=$1
  export HOME=$ZEPHRA_WINE_DIR/home
  export WINEDEBUG=-all
  # No Mono or Gecko download prompts; no menu builder, which Wine starts for every shortcut a
  # program saves (a process and a display connection each, and entries in the host's menus).
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8
  mkdir -p "$HOME"
}

zephra_template_stamp() {
  { WINEDEBUG=-all wine --version; cat "${BASH_SOURCE[0]}"; echo "$ZEPHRA_ROOT $ZEPHRA_SCREEN"; } | sha1sum | cut -d' ' -f1
}

zephra_make_template() {
  local t=$ZEPHRA_WINE_DIR/template stamp
  stamp=$(zephra_template_stamp)
  if [ -f "$t/.zephra-stamp" ] && [ "$(cat "$t/.zephra-stamp")" = "$stamp" ]; then
    return 0
  fi
  echo "wine: making the template prefix (once)"
  rm -rf "$t"
  mkdir -p "$ZEPHRA_WINE_DIR"
  (
    zephra_wine_env "$t"
    wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
    rm -f "$t/dosdevices/z:"
    ln -s "$ZEPHRA_ROOT" "$t/dosdevices/y:"
    local u
    for u in "$t"/drive_c/users/*/; do
      local d
      for d in Desktop Documents Downloads Music Pictures Videos; do
        if [ -L "$u$d" ]; then rm -f "$u$d"; mkdir -p "$u$d"; fi
      done
    done
    local reg=$t/drive_c/template.reg
    cat >"$reg" <<REG
REGEDIT4

[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]
"y:"="network"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"default"="$ZEPHRA_SCREEN"
"shell"="$ZEPHRA_SCREEN"

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
    wine regedit /s 'C:\template.reg' </dev/null >/dev/null 2>&1
    wineserver -w
    rm -f "$reg"
  )
  echo "$stamp" >"$t/.zephra-stamp"
}

# Fresh copy of the template at $1 (never hard links: the wineserver rewrites files in place).
zephra_copy_template() {
  rm -rf "$1"
  cp -a "$ZEPHRA_WINE_DIR/template" "$1"
}

ZEPHRA_XVFB_PID=
zephra_start_xvfb_if_needed() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  # Xvfb picks a free display number itself and writes it out when it is ready, so that runs
  # side by side never share a screen.
  local numberFile
  numberFile=$(mktemp)
  Xvfb -displayfd 1 -screen 0 "${ZEPHRA_SCREEN}x24" -nolisten tcp >"$numberFile" 2>/dev/null &
  ZEPHRA_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    if [ -s "$numberFile" ]; then
      export DISPLAY=":$(head -n1 "$numberFile")"
      rm -f "$numberFile"
      xdpyinfo >/dev/null 2>&1 && return 0
    fi
    sleep 0.1
  done
  rm -f "$numberFile"
  echo "wine: Xvfb did not start" >&2
  return 1
}

# Persistent wineserver plus the throw-away first process: that first process spawns Wine's
# background services, which inherit its stdout and stderr; later processes can then be piped.
zephra_start_wineserver() {
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

zephra_stop_wine() {
  [ -n "${WINEPREFIX:-}" ] && { wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; }
  if [ -n "$ZEPHRA_XVFB_PID" ]; then
    kill "$ZEPHRA_XVFB_PID" 2>/dev/null || true
    wait "$ZEPHRA_XVFB_PID" 2>/dev/null || true
    ZEPHRA_XVFB_PID=
  fi
}
