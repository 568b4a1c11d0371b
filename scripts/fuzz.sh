#!/usr/bin/env bash
# Fuzz test of the pure parsers of untrusted input: the checker's text parsers (the path rules and
# the command-line trimming) and the decoders of what programs send the shell's tray window
# (notify-icon and app-bar records). Builds them natively with AddressSanitizer and
# UndefinedBehaviorSanitizer and feeds them random and mutated input.
#   scripts/fuzz.sh [inputs (default 1000000)] [seed]
# CTest runs it with 20000 inputs (text_parsers_fuzz); run the full million by hand after a change
# to a parser.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

out=build/fuzz
mkdir -p "$out"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1

# fuzz_build name sources...: rebuilt only when a source or a header beside one is newer.
fuzz_build() {
  local binary=$out/$1
  shift
  if [ ! -x "$binary" ] || [ -n "$(find "$@" src/checker/scanners/*.h src/shell/taskbar/*.h \
    tests/shell/taskbar/*.h -newer "$binary")" ]; then
    ${CXX_NATIVE:-g++} -std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined \
      -fno-sanitize-recover=all -Wall -Wextra -Werror -Isrc -Itests "$@" -o "$binary"
  fi
}

fuzz_build text_parsers_fuzz tests/fuzz/text_parsers_fuzz.cpp src/checker/scanners/PathRules.cpp \
  src/checker/scanners/UninstallCommand.cpp
fuzz_build notify_records_fuzz tests/fuzz/notify_records_fuzz.cpp \
  src/shell/taskbar/NotifyRecord.cpp

timeout 1800 "$out/text_parsers_fuzz" "$@"
exec timeout 1800 "$out/notify_records_fuzz" "$@"
