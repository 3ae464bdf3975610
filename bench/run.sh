#!/usr/bin/env bash
# Runs every benchmark of a build folder (default: build) and prints the
# figures: one race tick, a whole race, the 100,000-race soak, one drawing.
set -euo pipefail
build="${1:-build}"
cmake --build "$build" --target bench
"$build/bench/race_bench" --benchmark_min_time=0.5
QT_QPA_PLATFORM=offscreen "$build/bench/scene_bench" --benchmark_min_time=0.5 \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
