#!/usr/bin/env bash
# Builds and runs every benchmark of a build folder (default: build) and
# prints the figures: one race tick, a whole race, the 100,000-race soak,
# one drawing.
set -euo pipefail
cmake --build "${1:-build}" --target bench
