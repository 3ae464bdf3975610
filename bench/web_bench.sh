#!/usr/bin/env bash
# The page's figures, all from one run (benchmarks, not tests: nothing here
# passes or fails on a figure):
#   - the weight of build-web/site/'s files compressed with gzip (goal: at
#     most 400 KB);
#   - load to the first drawn frame in headless chromium, median of LOADS
#     loads, against a blank page of the same canvas loaded alternately
#     (goal: at most 300 ms);
#   - whole races in WebAssembly (in chromium) against native, the same
#     source (bench/web_race_timing.cpp) built both ways. DrawScene joins
#     that comparison once the view draws without a toolkit.
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

echo "== whole races, microseconds a race (median of 7 rounds of 2000)"
native=$(build/bench/web_race_timing)
wasm=$(node bench/web_bench.mjs wasm build-web/bench/web_race_timing.js | grep '^whole_race')
# Both lines read "whole_race MICROSECONDS TICKS (winners SUM)": the same
# sum of winners says both builds ran the same races.
awk -v native="$native" -v wasm="$wasm" 'BEGIN {
  split(native, n, " "); split(wasm, w, " ")
  printf "  native %s µs, WebAssembly in chromium %s µs: %.2f × native (%s ticks a race; %s)\n",
         n[2], w[2], w[2] / n[2], n[3], (n[5] == w[5] ? "the same races" : "DIFFERENT races: " n[5] " against " w[5])
}'
echo "  DrawScene: not yet measured; it joins when view/ draws without a toolkit"
