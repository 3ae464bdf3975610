#!/usr/bin/env bash
# Installs what is missing, builds Trotix and runs every check: the unit
# tests, the same tests under AddressSanitizer and UBSan, the fuzzers, the
# benchmarks with the soak, and the whole-program test on a real X server.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh test

jobs=$(nproc)
step() { printf '\n== %s\n' "$*"; }

# Every ctest run's counts, for the closing line.
tally=$(mktemp)
trap 'rm -f "$tally"' EXIT
run_ctest() {
  local log
  log=$(mktemp)
  ctest "$@" 2>&1 | tee "$log"  # a failure ends the script here
  sed -n 's/.* \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\)$/\1 \2/p' "$log" | tail -n 1 >>"$tally"
  printf 'skipped %s\n' "$(grep -c '(Skipped)' "$log")" >>"$tally"
  rm -f "$log"
}

step "build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"

step "unit tests"
run_ctest --test-dir build -LE e2e -j "$jobs" --output-on-failure

# LeakSanitizer: leaks inside system libraries (libdbus under X) are not ours.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt"

step "unit tests under AddressSanitizer and UBSan"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTROTIX_SANITIZE=ON -DTROTIX_BENCH=OFF >/dev/null
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_ctest --test-dir build-sanitize -LE e2e -j "$jobs" --output-on-failure

step "fuzzers"
TROTIX_FUZZ_BUILD_DIR="$PWD/build-fuzz" bash fuzz/run.sh "${TROTIX_FUZZ_SECONDS:-60}"

step "benchmarks"
bash bench/run.sh build

step "whole-program test"
run_ctest --test-dir build -L e2e --output-on-failure

step "whole-program start, F7 and close under AddressSanitizer and UBSan"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 TROTIX_E2E_SHORT=1 \
  run_ctest --test-dir build-sanitize -L e2e --output-on-failure

awk '$1 == "skipped" { skipped += $2; next } { failed += $1; total += $2 }
     END { printf "\nTrotix: %d passed, %d failed, %d skipped\n", total - failed - skipped, failed, skipped }' "$tally"
