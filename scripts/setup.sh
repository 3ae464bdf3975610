#!/usr/bin/env bash
# Installs what building, playing and testing Trotix need on Debian 12, as
# root, without questions. Packages already present are left alone, so a
# second run costs nothing.
#
#   scripts/setup.sh play      what the game needs to build and run
#   scripts/setup.sh package   that, plus what its Debian package needs
#   scripts/setup.sh test      all that, plus what every test needs
set -euo pipefail

play_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev             # Qt 6 Widgets and Gui
  fonts-ipafont-gothic     # the Japanese texts: IPAPGothic
)
package_packages=(
  dpkg-dev                 # dpkg-shlibdeps: the package's dependencies
)
test_packages=(
  libgtest-dev             # unit tests
  libbenchmark-dev         # benchmarks
  clang libclang-rt-14-dev # libFuzzer and the sanitizers' runtime for clang
  xvfb openbox xdotool x11-utils imagemagick  # whole-program test on a real X server
  desktop-file-utils appstream lintian        # the package's menu entry, metadata and rules
  libx11-dev               # the start-up benchmark's X client
)

case "${1:-test}" in
  play) wanted=("${play_packages[@]}") ;;
  package) wanted=("${play_packages[@]}" "${package_packages[@]}") ;;
  test) wanted=("${play_packages[@]}" "${package_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 play|package|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "These packages are missing; install them as root: ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
