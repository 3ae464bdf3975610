#!/usr/bin/env bash
# Builds exactly what scripts/play.sh builds (the "play" preset) as a player's
# machine would: with the test-only packages hidden, so a configure step that
# reached for GoogleTest or Google Benchmark fails here as it would there. The
# build must also print no warning, which makes it a warnings-as-errors build
# of the player's configuration without changing that configuration.
#
# The packages are hidden in a private mount namespace (unshare -m), by
# binding empty folders and /dev/null over their headers, sources, CMake
# packages and libraries; where that is
# not allowed (not root, no namespaces) the build runs in plain sight and
# says so.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build() {
  local log
  log=$(mktemp)
  cmake --preset play >/dev/null
  cmake --build --preset play 2>&1 | tee "$log"
  if grep -q 'warning:' "$log"; then
    echo "the player's build printed warnings" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

if [[ ${1:-} == --inside ]]; then
  build
  exit
fi

multiarch=$(gcc -print-multiarch 2>/dev/null || echo x86_64-linux-gnu)
lib=/usr/lib/$multiarch
hidden=(
  /usr/include/gtest /usr/include/gmock /usr/include/benchmark /usr/src/gtest /usr/src/googletest
  "$lib/cmake/GTest" "$lib/cmake/benchmark"
  "$lib"/lib{gtest,gtest_main,gmock,gmock_main,benchmark,benchmark_main}.{a,so}
)
if [[ $(id -u) -eq 0 ]] && unshare -m true 2>/dev/null; then
  # shellcheck disable=SC2016
  exec unshare -m --propagation private bash -c '
    set -e
    empty=$(mktemp -d)
    for path in "$@"; do
      if [[ -d $path ]]; then
        mount --bind "$empty" "$path"
      elif [[ -e $path ]]; then
        mount --bind /dev/null "$path"
      fi
    done
    echo "(GoogleTest and Google Benchmark are hidden from this build)"
    exec bash scripts/player_build.sh --inside
  ' hide "${hidden[@]}"
fi
echo "(cannot hide the test packages here; building in plain sight)"
build
