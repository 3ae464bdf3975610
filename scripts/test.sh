#!/usr/bin/env bash
# Installs what is missing, builds Trotix and runs every check: the player's
# build as a player's machine makes it, started once; the unit tests; the
# page built for the browser and played in headless chromium; the same unit
# tests under AddressSanitizer and UBSan; the fuzzers; the benchmarks with
# the soak; and the whole-program test on a real X server. Warnings are
# errors in every build here but the player's and the page's, which must
# print none.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh test

jobs=$(nproc)
started=$SECONDS
step() { printf '\n== %s (at %d s)\n' "$*" $((SECONDS - started)); }

# Every run's counts ("failed total" and "skipped N" lines), for the closing line.
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
# A check outside ctest: it passed if we get past it.
passed() { "$@" && echo "0 1" >>"$tally"; }

step "the player's build (scripts/play.sh's), test packages hidden"
bash scripts/player_build.sh
passed bash shell/tests/e2e/smoke_test.sh build-release/trotix

step "build"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"

step "unit tests"
run_ctest --test-dir build -LE 'e2e|web' -j "$jobs" --output-on-failure

step "the page for the browser (scripts/web.sh's), played in headless chromium and firefox-esr"
web_log=$(mktemp)
bash scripts/web.sh 2>&1 | tee "$web_log"
if grep -q 'warning:' "$web_log"; then
  echo "the page's build printed warnings" >&2
  exit 1
fi
rm -f "$web_log"
run_ctest --test-dir build -L web --output-on-failure

# LeakSanitizer: leaks inside system libraries (libdbus under X) are not ours.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt"

step "unit tests under AddressSanitizer and UBSan"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_ctest --test-dir build-sanitize -LE 'e2e|web' -j "$jobs" --output-on-failure

step "fuzzers"
TROTIX_FUZZ_BUILD_DIR="$PWD/build-fuzz" bash fuzz/run.sh "${TROTIX_FUZZ_SECONDS:-60}"

step "benchmarks"
bash bench/run.sh build

step "whole-program tests: the game, and its Debian package installed for an ordinary user"
run_ctest --test-dir build -L e2e --output-on-failure

step "whole-program start, F7 and close under AddressSanitizer and UBSan"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 TROTIX_E2E_SHORT=1 \
  run_ctest --test-dir build-sanitize -L e2e -R "^trotix_e2e$" --output-on-failure

printf '\n(%d s in all)\n' $((SECONDS - started))
awk '$1 == "skipped" { skipped += $2; next } { failed += $1; total += $2 }
     END { printf "\nTrotix: %d passed, %d failed, %d skipped\n", total - failed - skipped, failed, skipped }' "$tally"
