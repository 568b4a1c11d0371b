#!/usr/bin/env bash
# Fuzz test of the checker's pure text parsers (the path rules and the command-line trimming):
# builds them natively with AddressSanitizer and UndefinedBehaviorSanitizer and feeds them random
# and mutated texts.
#   scripts/fuzz.sh [inputs (default 1000000)] [seed]
# CTest runs it with 20000 inputs (text_parsers_fuzz); run the full million by hand after a change
# to a parser.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

out=build/fuzz
mkdir -p "$out"
sources=(tests/fuzz/text_parsers_fuzz.cpp src/checker/scanners/PathRules.cpp
  src/checker/scanners/UninstallCommand.cpp)
binary=$out/text_parsers_fuzz
# Rebuilt only when a source is newer than the program.
if [ ! -x "$binary" ] || [ -n "$(find "${sources[@]}" src/checker/scanners/*.h -newer "$binary")" ]; then
  ${CXX_NATIVE:-g++} -std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined \
    -fno-sanitize-recover=all -Wall -Wextra -Werror -Isrc "${sources[@]}" -o "$binary"
fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
exec timeout 1800 "$binary" "$@"
