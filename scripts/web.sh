#!/usr/bin/env bash
# Installs what is missing (em++ and the build tools, nothing of Qt), builds
# Trotix for the browser from the "web" preset of CMakePresets.json and says
# what to open. The result, build-web/site/, is a static folder: open its
# index.html straight from the disk, or put the folder on any static host.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh web
cmake --preset web >/dev/null
cmake --build --preset web
site=$PWD/build-web/site
echo
echo "Open file://$site/index.html in a browser, or serve $site/ from any static server: over http(s) it installs as an app and plays offline."
