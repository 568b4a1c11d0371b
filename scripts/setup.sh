#!/usr/bin/env bash
# Installs everything the build, the tests, the packages and the run command need on Debian 12.
# Safe to run again: it only installs what is missing.
#
# The programs we ship are 32-bit: Wine starts them only with its 32-bit support (wine32 of the
# i386 architecture). It is installed where this machine can run 32-bit code; where it cannot, or
# where the package cannot be had, the setup says so and the tests run the 64-bit build.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wineenv.sh"

packages=(
  cmake ninja-build python3 g++
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64
  xvfb xauth x11-utils xdotool imagemagick
  fonts-wqy-microhei locales
  googletest
  tango-icon-theme librsvg2-bin python3-pil
  fp-utils-3.2.2 nsis zip unzip 7zip file
)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

apt_updated=0
apt_update() {
  [ "$apt_updated" = 1 ] && return 0
  apt_updated=1
  # A mirror that fails for one index must not stop the install of the rest.
  "${sudo_cmd[@]}" apt-get update || echo "setup: apt-get update partly failed; going on"
}

apt_install() {
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "$@"
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt_update
  apt_install "${missing[@]}"
fi

# Wine's 32-bit support: the i386 architecture, its package index, then wine32.
if zephra_machine_runs_32bit; then
  if ! installed wine32:i386; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      echo "setup: adding the i386 architecture for Wine's 32-bit support"
      "${sudo_cmd[@]}" dpkg --add-architecture i386
      apt_updated=0
    fi
    apt_update
    echo "setup: installing wine32:i386"
    apt_install wine32:i386 ||
      echo "setup: wine32:i386 could not be installed (is the mirror's i386 index there? see" \
        "apt-get update above); the shipped 32-bit programs cannot run here, and the tests" \
        "run the 64-bit build" >&2
  fi
else
  echo "setup: this machine cannot run 32-bit code (its kernel refuses 32-bit programs), so" \
    "Wine's 32-bit support is not installed; the tests run the 64-bit build"
fi

# Wine runs with the Chinese locale so that the ANSI code page is 936, as on the target machines.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  "${sudo_cmd[@]}" localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
