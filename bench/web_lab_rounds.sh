#!/usr/bin/env bash
# The page's lab in this build against another build of the page (main's,
# say, built in another folder), the two alternately, ROUNDS rounds: 100,000
# races of the sample field at seed 1 on two workers while a race ticks in
# the window, from the run's start to the figures (web_bench.mjs lab), and
# from a board to the figures of the card it brings (web_bench.mjs board),
# the race played out and run at once; each round ends with trotix-sim
# --threads 2 on the sample field and on the board's card, same seed, whose
# wins must be the page's. Every line says the load average.
# Build first: the "web" preset, and trotix-sim (or name it in TROTIX_SIM).
#
#   bash bench/web_lab_rounds.sh OTHER_SITE [ROUNDS]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
other=$1
rounds=${2:-3}
sim=${TROTIX_SIM:-build/sim/trotix-sim}
field=$(mktemp)
card=$(mktemp)
trap 'rm -f "$field" "$card"' EXIT
printf '80\t60\t2\n50\t50\t1\n70\t40\t3\n45\t90\t4\n60\t60\t1\n55\t75\t2\n' >"$field"
load() { cut -d' ' -f1-3 /proc/loadavg; }
native() {  # FIELD: seconds, and the wins as the page prints them
  local json
  json=$("$sim" --json --races 100000 --seed 1 --threads 2 "$1")
  grep -o '"seconds": [0-9.e+-]*' <<<"$json" | sed 's/.* //'
  grep -o '"hits": [0-9]*' <<<"$json" | head -6 | sed 's/.* //' | paste -sd' '
}
for round in $(seq "$rounds"); do
  for site in build-web/site "$other"; do
    lab=$(node bench/web_bench.mjs lab "$site/index.html" "$field" 100000 1)
    echo "round $round, $site (load $(load)):"
    grep -E '^lab (100000|ticks during)' <<<"$lab" | sed 's/^lab /  /'
    for how in played instant; do
      shown=$(node bench/web_bench.mjs board "$site/index.html" 100000 1 "$how")
      grep -v '^board card' <<<"$shown" | sed 's/^board /  /'
    done
    # The card's records: six speeds, six staminas, six styles, as a horse file.
    grep '^board card' <<<"$shown" | cut -d' ' -f3- | tr ' ' '\n' |
      awk '{ v[NR] = $1 } END { for (h = 1; h <= 6; ++h) printf "%s\t%s\t%s\n", v[h], v[h + 6], v[h + 12] }' >"$card"
    wins=$(grep '^lab wins ' <<<"$lab" | sed 's/^lab wins //')
  done
  { read -r seconds; read -r hits; } < <(native "$field")
  { read -r card_seconds; read -r _; } < <(native "$card")
  echo "round $round, trotix-sim --threads 2 (load $(load)): $seconds s on the sample field," \
       "$( [ "$hits" = "$wins" ] && echo 'the same wins as the page' || echo "DIFFERENT wins: $wins against $hits");" \
       "$card_seconds s on the board's card"
done
