#!/usr/bin/env bash
# Installs what building, playing and testing Trotix need on Debian 12, as
# root, without questions. Packages already present are left alone, so a
# second run costs nothing.
#
#   scripts/setup.sh play      what the game needs to build and run
#   scripts/setup.sh package   that, plus what its Debian package needs
#   scripts/setup.sh web       what the browser's page needs to build: em++
#   scripts/setup.sh test      all that, plus what every test needs, and the
#                              browser test's driver from npm (npm ci)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

play_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev             # Qt 6 Widgets and Gui
  fonts-ipafont-gothic     # the Japanese texts: IPAPGothic
)
package_packages=(
  dpkg-dev                 # dpkg-shlibdeps: the package's dependencies
)
web_packages=(
  cmake ninja-build
  emscripten               # em++ 3.1.6; it brings node-acorn and takes any nodejs >= 12
  esbuild                  # bundles the page's TypeScript modules into one script
)
test_packages=(
  libgtest-dev             # unit tests
  libbenchmark-dev         # benchmarks
  clang libclang-rt-14-dev # libFuzzer and the sanitizers' runtime for clang
  xvfb openbox xdotool x11-utils imagemagick  # whole-program test on a real X server
  desktop-file-utils appstream lintian        # the package's menu entry, metadata and rules
  libx11-dev               # the start-up benchmark's X client
  emscripten chromium      # the page, built and played headless by the browser tests
  esbuild node-typescript  # the page's scripts bundled for node --test, and tsc checking their types
  firefox-esr              # the browser tests' second engine
)
# npm ci needs npm. A nodejs from outside Debian (NodeSource's) brings its
# own npm and conflicts with Debian's, so Debian's is wanted only where no
# npm is on the path.
if ! command -v npm >/dev/null; then
  test_packages+=(nodejs npm)
fi

case "${1:-test}" in
  play) wanted=("${play_packages[@]}") ;;
  package) wanted=("${play_packages[@]}" "${package_packages[@]}") ;;
  web) wanted=("${web_packages[@]}") ;;
  test) wanted=("${play_packages[@]}" "${package_packages[@]}" "${web_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 play|package|web|test" >&2; exit 2 ;;
esac

# The browser tests drive chromium and firefox-esr with puppeteer-core, pinned by
# web/tests/package-lock.json; installed again whenever the lock changes.
install_driver() {
  local modules=web/tests/node_modules
  [[ ${1:-test} == test ]] || return 0
  cmp -s web/tests/package-lock.json "$modules/.trotix-installed-lock" && return 0
  echo "Installing the browser test's driver (npm ci in web/tests)"
  (cd web/tests && npm ci --no-audit --no-fund --loglevel=error)
  cp web/tests/package-lock.json "$modules/.trotix-installed-lock"
}

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  install_driver "${1:-test}"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "These packages are missing; install them as root: ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
install_driver "${1:-test}"
