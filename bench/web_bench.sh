#!/usr/bin/env bash
# The page's figures, all from one run (benchmarks, not tests: nothing here
# passes or fails on a figure):
#   - the weight of build-web/site/'s files compressed with gzip (goal: at
#     most 400 KB);
#   - load to the first drawn frame in headless chromium, from file:// and
#     over http, median of LOADS
#     loads, against a blank page of the same canvas loaded alternately
#     (goal: at most 300 ms);
#   - whole races and DrawScene on a mid-race field in WebAssembly (in
#     chromium) against native, the same source (bench/web_race_timing.cpp)
#     built both ways (goal for DrawScene: at most 3 x native);
#   - the page's lab: 100,000 races of the sample field on all workers
#     while a race ticks in the window (goal: at most 10 s), races per second
#     per worker against trotix-sim's per thread, on the same field and seed;
#     and from a board to the figures of the card it brings, the panel open.
# bench/web_lab_rounds.sh holds the lab against another build of the page.
# Run scripts/test.sh once first: it installs chromium and the driver.
#
#   bash bench/web_bench.sh [LOADS]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
loads=${1:-15}

cmake --preset web >/dev/null
cmake --build --preset web --target all web_race_timing >/dev/null
cmake --preset dev >/dev/null
cmake --build --preset dev --target web_race_timing trotix-sim >/dev/null

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

echo "== the page's lab against trotix-sim, 100,000 races of the sample field, seed 1"
field=$(mktemp)
trap 'rm -f "$field"' EXIT
printf '80\t60\t2\n50\t50\t1\n70\t40\t3\n45\t90\t4\n60\t60\t1\n55\t75\t2\n' >"$field"
page=$(node bench/web_bench.mjs lab build-web/site/index.html "$field" 100000 1)
sed 's/^lab /  /' <<<"$page" | grep -v '^  wins '
node bench/web_bench.mjs board build-web/site/index.html 100000 1 | grep -v '^board card' | sed 's/^board /  /'
threads=$(nproc)
native=$(build/sim/trotix-sim --json --races 100000 --seed 1 --threads "$threads" "$field")
awk -v threads="$threads" -v page="$(grep '^lab wins ' <<<"$page")" -v json="$native" 'BEGIN {
  match(json, /"seconds": [0-9.e+-]+/); seconds = substr(json, RSTART + 11, RLENGTH - 11)
  wins = ""; rest = json
  while (match(rest, /"hits": [0-9]+/)) { wins = wins " " substr(rest, RSTART + 8, RLENGTH - 8); rest = substr(rest, RSTART + RLENGTH) }
  split(wins, w, " "); native_wins = w[1] " " w[2] " " w[3] " " w[4] " " w[5] " " w[6]
  sub(/^lab wins /, "", page)
  printf "  trotix-sim on %d threads: %.2f s, %d races/s per thread (%s)\n", threads, seconds, 100000 / seconds / threads,
         (page == native_wins ? "the same wins as the page" : "DIFFERENT wins: " page " against " native_wins)
}'
