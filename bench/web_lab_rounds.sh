#!/usr/bin/env bash
# The page's lab in this build against another build of the page (main's,
# say, built in another folder), the two alternately, ROUNDS rounds: 100,000
# races of the sample field at seed 1 on two workers while a race ticks in
# the window, from the run's start to the figures (web_bench.mjs lab), and
# from a board to the figures of the card it brings (web_bench.mjs board);
# each round ends with trotix-sim --threads 2 on the same field and seed,
# whose wins must be the page's. Every line says the load average.
# Build first: the "web" preset, and trotix-sim (or name it in TROTIX_SIM).
#
#   bash bench/web_lab_rounds.sh OTHER_SITE [ROUNDS]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
other=$1
rounds=${2:-3}
sim=${TROTIX_SIM:-build/sim/trotix-sim}
field=$(mktemp)
trap 'rm -f "$field"' EXIT
printf '80\t60\t2\n50\t50\t1\n70\t40\t3\n45\t90\t4\n60\t60\t1\n55\t75\t2\n' >"$field"
load() { cut -d' ' -f1-3 /proc/loadavg; }
for round in $(seq "$rounds"); do
  for site in build-web/site "$other"; do
    lab=$(node bench/web_bench.mjs lab "$site/index.html" "$field" 100000 1)
    echo "round $round, $site (load $(load)):"
    grep -E '^lab (100000|ticks during)' <<<"$lab" | sed 's/^lab /  /'
    node bench/web_bench.mjs board "$site/index.html" 100000 1 | grep -v '^board card' | sed 's/^board /  /'
    wins=$(grep '^lab wins ' <<<"$lab" | sed 's/^lab wins //')
  done
  json=$("$sim" --json --races 100000 --seed 1 --threads 2 "$field")
  native=$(grep -o '"hits": [0-9]*' <<<"$json" | head -6 | sed 's/.* //' | paste -sd' ')
  seconds=$(grep -o '"seconds": [0-9.e+-]*' <<<"$json" | sed 's/.* //')
  echo "round $round, trotix-sim --threads 2 (load $(load)): $seconds s," \
       "$( [ "$native" = "$wins" ] && echo 'the same wins as the page' || echo "DIFFERENT wins: $wins against $native")"
done
