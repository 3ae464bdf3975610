#!/usr/bin/env bash
# Installs what is missing, builds Trotix as play.sh does and makes its
# Debian package, build-release/trotix_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh package
cmake --preset play >/dev/null
cmake --build --preset play
cd build-release
rm -f trotix_*.deb
cpack -G DEB
