#!/usr/bin/env bash
# Installs what is missing, builds Trotix and starts it. The build is the
# "play" preset of CMakePresets.json, which the test command builds too.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh play
cmake --preset play >/dev/null
cmake --build --preset play
exec build-release/trotix
