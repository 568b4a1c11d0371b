# Shared Wine set-up for the run, test and wine scripts. Source it; it defines functions only.
#
# One template prefix per Windows kind is made once (and again when Wine, its 32-bit support or
# this file changes) and copied for every run: "win64" is a 64-bit Windows, which runs 32-bit
# programs as 64-bit Windows does (SysWOW64, Wow6432Node); "win32" is a 32-bit Windows, as XP and
# 32-bit Windows 7 are. The copy has no Z: drive, user folders that are empty folders of its own
# instead of links into $HOME, and the repository mapped as network drive Y: (so that walks of
# fixed drives never reach it). Programs run in a 1024x768 virtual desktop: "default" for the
# tests, "shell" (which has Wine's own taskbar window, class Shell_TrayWnd) for everything that
# must see one.
#
# Which programs run: ZEPHRA_BUILD=win32 starts the shipped i686 programs of build/win32/bin
# (it needs a machine that runs 32-bit code and Wine's 32-bit support); ZEPHRA_BUILD=win64, the
# default, the x86_64 build of the same code in build/win64/bin.
ZEPHRA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Can this machine run 32-bit x86 code at all? Some kernels are built or booted without it
# ("32-bit emulation disabled", for example under hypervisors that run only 64-bit user code);
# Wine's 32-bit support then cannot start, however it is installed. The probe is the smallest
# 32-bit Linux program there is: it exits with status 7.
zephra_machine_runs_32bit() {
  local probe status=0
  probe=$(mktemp)
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x07\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" -eq 7 ]
}

# Wine's 32-bit loader, installed and able to start.
zephra_wine32_works() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Chooses the build whose programs run (ZEPHRA_BUILD, see above) and sets ZEPHRA_BIN to its
# programs. Says why and fails when the shipped 32-bit programs are asked for and cannot run.
zephra_select_build() {
  ZEPHRA_BUILD=${ZEPHRA_BUILD:-win64}
  case "$ZEPHRA_BUILD" in
    win64) ;;
    win32)
      if ! zephra_machine_runs_32bit; then
        echo "wine: ZEPHRA_BUILD=win32: this machine cannot run 32-bit code (its kernel refuses" \
          "32-bit programs), so Wine cannot start the shipped programs here" >&2
        return 1
      fi
      if ! zephra_wine32_works; then
        echo "wine: ZEPHRA_BUILD=win32 needs Wine's 32-bit support (wine32:i386), which is not" \
          "installed or does not start; scripts/setup.sh installs it" >&2
        return 1
      fi
      ;;
    *) echo "wine: ZEPHRA_BUILD must be win32 or win64, not \"$ZEPHRA_BUILD\"" >&2; return 1 ;;
  esac
  export ZEPHRA_BUILD ZEPHRA_BIN=$ZEPHRA_ROOT/build/$ZEPHRA_BUILD/bin
}

# Runs a step of a script with its output kept aside; when it fails, says which step failed, with
# its status and the end of its output, and returns that status.
#   zephra_step "what the step does" command [arguments...]
zephra_step() {
  local what=$1 log status=0
  shift
  log=$(mktemp)
  "$@" </dev/null >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    echo "${ZEPHRA_SCRIPT:-wine}: $what failed (status $status): $*" >&2
    tail -n 20 "$log" | sed 's/^/    /' >&2
  fi
  rm -f "$log"
  return "$status"
}

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

# The loaders, by name, so that every command says which one it means. Debian's `wine` starts the
# 32-bit loader once the 32-bit support is installed: in a 64-bit prefix, `zephra_wine64 regedit`
# is the 64-bit registry editor (the one a double-click on a .reg file starts on 64-bit Windows),
# `zephra_wine32 regedit` the 32-bit one, which writes HKLM\Software into Wow6432Node. A program
# file runs with the loader of its own kind either way.
zephra_wine64() { /usr/lib/wine/wine64 "$@"; }
zephra_wine32() { /usr/lib/wine/wine "$@"; }
# The loader that runs programs in the current prefix: the 64-bit one in a 64-bit prefix, the
# 32-bit one in a 32-bit prefix. zephra_loader prints its path (for `timeout` and the like).
zephra_loader() {
  if [ "$(zephra_prefix_kind "$WINEPREFIX")" = win32 ]; then echo /usr/lib/wine/wine; else echo /usr/lib/wine/wine64; fi
}
zephra_wine() { "$(zephra_loader)" "$@"; }
# A system program of the same kind as the programs of ZEPHRA_BUILD (for example the registry
# editor that writes keys where those programs read them).
zephra_wine_build() {
  if [ "${ZEPHRA_BUILD:-win64}" = win32 ]; then zephra_wine32 "$@"; else zephra_wine64 "$@"; fi
}

# "win32" for a prefix made as a 32-bit Windows, else "win64".
zephra_prefix_kind() {
  if grep -qs '^#arch=win32' "$1/system.reg"; then echo win32; else echo win64; fi
}

zephra_template_stamp() {
  local kind=$1
  {
    WINEDEBUG=-all zephra_wine64 --version
    echo "$kind"
    zephra_wine32_works && echo "with 32-bit support"
    cat "${BASH_SOURCE[0]}"
    echo "$ZEPHRA_ROOT $ZEPHRA_SCREEN"
  } | sha1sum | cut -d' ' -f1
}

# The template prefix of a kind (win64, the default, or win32): made when missing, when it is
# stale, and when a 64-bit one lacks SysWOW64 though the 32-bit support is there now (it was made
# before that support was installed). Prints its folder.
zephra_template_dir() { echo "$ZEPHRA_WINE_DIR/template-${1:-win64}"; }

zephra_make_template() {
  local kind=${1:-win64} t stamp
  t=$(zephra_template_dir "$kind")
  if [ "$kind" = win32 ] && ! zephra_wine32_works; then
    echo "wine: a 32-bit Windows prefix needs Wine's 32-bit support, which cannot start here" >&2
    return 1
  fi
  stamp=$(zephra_template_stamp "$kind")
  if [ -f "$t/.zephra-stamp" ] && [ "$(cat "$t/.zephra-stamp")" = "$stamp" ] &&
    { [ "$kind" = win32 ] || ! zephra_wine32_works || [ -d "$t/drive_c/windows/syswow64" ]; }; then
    return 0
  fi
  echo "wine: making the $kind template prefix (once)"
  rm -rf "$t"
  mkdir -p "$ZEPHRA_WINE_DIR"
  (
    set -e
    zephra_wine_env "$t"
    export WINEARCH=$kind
    if [ "$kind" = win32 ]; then
      zephra_step "making the 32-bit Windows prefix" zephra_wine32 wineboot -i
    else
      zephra_step "making the 64-bit Windows prefix" zephra_wine64 wineboot -i
    fi
    wineserver -w
    [ -f "$t/system.reg" ] || { echo "wine: wineboot made no registry in $t" >&2; exit 1; }
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
    # The registry editor of the prefix's own kind: Wine's drive settings are read from the
    # 64-bit registry view of a 64-bit prefix, which the 32-bit editor would not write.
    zephra_step "writing the template's settings" zephra_wine regedit /s 'C:\template.reg'
    wineserver -w
    rm -f "$reg"
  ) || { rm -rf "$t"; return 1; }
  echo "$stamp" >"$t/.zephra-stamp"
}

# Fresh copy of the template at $1 (never hard links: the wineserver rewrites files in place).
#   zephra_copy_template folder [kind]
zephra_copy_template() {
  rm -rf "$1"
  cp -a "$(zephra_template_dir "${2:-win64}")" "$1"
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
  zephra_wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# Ends every Wine process of the current prefix.
zephra_stop_wineserver() {
  [ -n "${WINEPREFIX:-}" ] && { wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; }
}

# Ends every Wine process of the current prefix and the virtual screen this script started.
zephra_stop_wine() {
  zephra_stop_wineserver
  if [ -n "$ZEPHRA_XVFB_PID" ]; then
    kill "$ZEPHRA_XVFB_PID" 2>/dev/null || true
    wait "$ZEPHRA_XVFB_PID" 2>/dev/null || true
    ZEPHRA_XVFB_PID=
  fi
}
