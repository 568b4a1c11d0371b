#!/usr/bin/env bash
# Installs everything the build, the tests, the packages and the run command need on Debian 12.
# Safe to run again: it only installs what is missing.
set -euo pipefail

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

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  # A mirror that fails for one index must not stop the install of the rest.
  "${sudo_cmd[@]}" apt-get update || echo "setup: apt-get update partly failed; going on"
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Wine runs with the Chinese locale so that the ANSI code page is 936, as on the target machines.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  "${sudo_cmd[@]}" localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
