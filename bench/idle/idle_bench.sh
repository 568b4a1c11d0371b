#!/usr/bin/env bash
# Idle cost of ZephraShell against the bare floor program (bench/floor), side by side in one run:
# with ten application windows open, each program runs alone for the measured time while this
# script reads, from the Linux side, the CPU time of its Wine process and of the wineserver and
# the process's resident memory.
#   bench/idle/idle_bench.sh [seconds per program, default 30]
# Needs a built preset: build/win64/bin, or build/win32/bin with ZEPHRA_BUILD=win32.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
seconds=${1:-30}
. "$root/scripts/wineenv.sh"
zephra_select_build || exit 1
bin=$ZEPHRA_BIN

zephra_make_template || exit 1
prefix=$ZEPHRA_WINE_DIR/idle-bench-$$
zephra_copy_template "$prefix"
zephra_wine_env "$prefix"
work=$(mktemp -d)
cleanup() {
  zephra_stop_wine
  rm -rf "$prefix" "$work"
}
trap cleanup EXIT
zephra_start_xvfb_if_needed || exit 1
zephra_start_wineserver
cp "$bin/ZephraShell.exe" "$bin/floor_desktop.exe" "$bin/bench_apps.exe" "$work/"
cp "$root/config/SysInfo.ini" "$work/"
# Measured as shipped: without debug information, which Wine reads into memory with the image
# (the x86_64 build carries about 6 MB of it).
strip=x86_64-w64-mingw32-strip
[ "$ZEPHRA_BUILD" = win32 ] && strip=i686-w64-mingw32-strip
"$strip" --strip-debug "$work/ZephraShell.exe" "$work/floor_desktop.exe" "$work/bench_apps.exe"
for exe in ZephraShell.exe floor_desktop.exe bench_apps.exe; do
  zephra_wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\Explorer" /v Desktop /d shell /f \
    </dev/null >/dev/null 2>&1
done

ticks=$(getconf CLK_TCK)
# CPU time (clock ticks) of a Linux process.
cpu() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
rss() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
# The Linux process of a running Windows program, by its exe name.
pid_of() { pgrep -f "$1" | while read -r p; do grep -q wine "/proc/$p/exe" 2>/dev/null || true; echo "$p"; done | head -n1; }
server=$(for p in $(pgrep wineserver); do
  tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && echo "$p"; done | head -n1)
[ -n "$server" ] || { echo "no wineserver for the bench prefix" >&2; exit 1; }

(cd "$work" && exec "$(zephra_loader)" bench_apps.exe </dev/null >/dev/null 2>&1) &
disown
sleep 3

declare -A cpuProgram cpuServer rssProgram
measure() {
  local exe=$1
  (cd "$work" && exec "$(zephra_loader)" "$exe" </dev/null >/dev/null 2>&1) &
  disown
  local pid= i
  for i in $(seq 1 100); do pid=$(pid_of "$exe"); [ -n "$pid" ] && break; sleep 0.1; done
  [ -n "$pid" ] || { echo "$exe did not start" >&2; exit 1; }
  sleep 5  # start-up settles
  # Looked up again: the first match can be Wine's short-lived launcher of the program.
  pid=$(pid_of "$exe")
  [ -n "$pid" ] || { echo "$exe did not stay" >&2; exit 1; }
  local p0 s0 p1 s1
  p0=$(cpu "$pid"); s0=$(cpu "$server")
  sleep "$seconds"
  p1=$(cpu "$pid"); s1=$(cpu "$server")
  rssProgram[$exe]=$(rss "$pid")
  # ZEPHRA_IDLE_SMAPS=folder keeps each program's memory map, to see what its resident memory is.
  [ -n "${ZEPHRA_IDLE_SMAPS:-}" ] && cp "/proc/$pid/smaps" "$ZEPHRA_IDLE_SMAPS/$exe.smaps"
  cpuProgram[$exe]=$(( p1 - p0 ))
  cpuServer[$exe]=$(( s1 - s0 ))
  kill "$pid" 2>/dev/null
  sleep 2
}
measure floor_desktop.exe
measure ZephraShell.exe

report() {
  local exe=$1
  awk -v p="${cpuProgram[$exe]}" -v s="${cpuServer[$exe]}" -v t="$ticks" -v sec="$seconds" \
    -v r="${rssProgram[$exe]}" -v name="$exe" 'BEGIN {
      printf "%-18s process %5.2f %% of a core, wineserver %5.2f %%, together %5.2f %%, resident %6.1f MB\n",
        name, 100 * p / t / sec, 100 * s / t / sec, 100 * (p + s) / t / sec, r / 1024 }'
}
echo "idle with 10 application windows, ${seconds} s each:"
report floor_desktop.exe
report ZephraShell.exe
awk -v a="${cpuProgram[ZephraShell.exe]}" -v b="${cpuServer[ZephraShell.exe]}" \
  -v c="${cpuProgram[floor_desktop.exe]}" -v d="${cpuServer[floor_desktop.exe]}" \
  -v r1="${rssProgram[ZephraShell.exe]}" -v r0="${rssProgram[floor_desktop.exe]}" 'BEGIN {
    if (c + d > 0) printf "CPU (process + wineserver) against the floor: %.2f x\n", (a + b) / (c + d)
    if (r0 > 0) printf "resident memory against the floor: %.2f x\n", r1 / r0 }'
