#!/usr/bin/env bash
# Installs what is missing, builds Trotix and runs every check: the unit
# tests, the same tests under AddressSanitizer and UBSan, the fuzzers, the
# whole-program test on a real X server, and the benchmarks with the soak.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh test

jobs=$(nproc)
step() { printf '\n== %s\n' "$*"; }

step "build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"

step "unit tests"
ctest --test-dir build -LE e2e -j "$jobs" --output-on-failure

step "unit tests under AddressSanitizer and UBSan"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTROTIX_SANITIZE=ON -DTROTIX_BENCH=OFF >/dev/null
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize -LE e2e -j "$jobs" --output-on-failure

step "fuzzers"
TROTIX_FUZZ_BUILD_DIR="$PWD/build-fuzz" bash fuzz/run.sh "${TROTIX_FUZZ_SECONDS:-60}"

step "whole-program test"
ctest --test-dir build -L e2e --output-on-failure

step "benchmarks"
bash bench/run.sh build
