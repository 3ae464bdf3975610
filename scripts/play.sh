#!/usr/bin/env bash
# Installs what is missing, builds Trotix and starts it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh play
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTROTIX_BENCH=OFF >/dev/null
cmake --build build-release --target trotix
exec build-release/trotix
