#!/usr/bin/env bash
# The page's figures, all from one run (benchmarks, not tests: nothing here
# passes or fails on a figure):
#   - the weight of build-web/site/'s files compressed with gzip (goal: at
#     most 400 KB);
#   - load to the first drawn frame in headless chromium, median of LOADS
#     loads, against a blank page of the same canvas loaded alternately
#     (goal: at most 300 ms);
#   - whole races and DrawScene on a mid-race field in WebAssembly (in
#     chromium) against native, the same source (bench/web_race_timing.cpp)
#     built both ways (goal for DrawScene: at most 3 x native).
# Run scripts/test.sh once first: it installs chromium and the driver.
#
#   bash bench/web_bench.sh [LOADS]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
loads=${1:-15}

cmake --preset web >/dev/null
cmake --build --preset web --target all web_race_timing >/dev/null
cmake --preset dev >/dev/null
cmake --build --preset dev --target web_race_timing >/dev/null

echo "== the page's files, gzip -9"
total=0
for file in build-web/site/*; do
  size=$(gzip -9 -c "$file" | wc -c)
  total=$((total + size))
  printf '  %-12s %7d bytes, %7d compressed\n' "$(basename "$file")" "$(wc -c <"$file")" "$size"
done
awk -v total="$total" 'BEGIN { printf "  in all %.1f KB compressed (goal: at most 400 KB)\n", total / 1024 }'

echo "== load to the first drawn frame"
node bench/web_bench.mjs load build-web/site/index.html bench/web_blank.html "$loads"

echo "== WebAssembly in chromium against native, median of 7 rounds of 2000"
native=$(build/bench/web_race_timing)
wasm=$(node bench/web_bench.mjs wasm build-web/bench/web_race_timing.js)
# The lines read "whole_race MICROSECONDS TICKS (winners SUM)" and
# "draw_scene MICROSECONDS (pixels SUM)": the same sums say both builds did
# the same work.
ratio() {
  awk -v what="$1" -v native="$(grep "^$2 " <<<"$native")" -v wasm="$(grep "^$2 " <<<"$wasm")" -v sum="$3" -v same="$4" 'BEGIN {
    split(native, n, " "); split(wasm, w, " ")
    printf "  %s: native %s µs, WebAssembly %s µs: %.2f × native (%s)\n", what, n[2], w[2], w[2] / n[2],
           (n[sum] == w[sum] ? same : "DIFFERENT: " n[sum] " against " w[sum])
  }'
}
ratio "a whole race" whole_race 5 "the same races"
ratio "DrawScene (goal: at most 3 × native)" draw_scene 4 "the same pictures"
