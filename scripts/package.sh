#!/usr/bin/env bash
# Installs what is missing, builds Trotix as play.sh does and makes its
# Debian package, build-release/trotix_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh package
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DTROTIX_BENCH=OFF >/dev/null
cmake --build build-release --target trotix
cd build-release
rm -f trotix_*.deb
cpack -G DEB
