#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time on a
# scratch copy of its seed corpus, so the seeds in the tree stay as they are.
# Exits non-zero when a target crashes, leaks, trips a sanitizer or times out;
# the input that did it is kept under <build dir>/fuzz-artifacts/.
#
#   fuzz/run.sh [seconds per target, default 60]
#
# The build goes to $TROTIX_FUZZ_BUILD_DIR, by default
# ${TMPDIR:-/tmp}/trotix-fuzz-build.
set -euo pipefail

seconds="${1:-60}"
if [[ ! "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [seconds per target]" >&2
  exit 2
fi

fuzz_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source_dir="$(dirname "$fuzz_dir")"
build_dir="${TROTIX_FUZZ_BUILD_DIR:-${TMPDIR:-/tmp}/trotix-fuzz-build}"
targets=(private_profile field_file)

cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DTROTIX_FUZZ=ON -DTROTIX_GUI=OFF -DTROTIX_BENCH=OFF -DBUILD_TESTING=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build "$build_dir" --target "${targets[@]/%/_fuzz}"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
artifacts="$build_dir/fuzz-artifacts"
mkdir -p "$artifacts"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

failed=0
for target in "${targets[@]}"; do
  corpus="$scratch/$target"
  log="$scratch/$target.log"
  cp -r "$fuzz_dir/corpus/$target" "$corpus"
  status=0
  "$build_dir/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/$target-" "$corpus" >"$log" 2>&1 || status=$?
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
  # A report that did not end the run is a failure as well.
  if [[ $status -ne 0 ]] || grep -qE 'ERROR: (Address|Leak|Undefined)Sanitizer|runtime error:|==[0-9]+==ERROR' "$log"; then
    echo "FAIL $target (exit $status, ${runs:-?} runs)"
    tail -n 60 "$log"
    failed=1
  else
    echo "ok   $target: ${runs:-?} runs in ${seconds}s, corpus $(ls "$corpus" | wc -l) inputs"
  fi
done
exit "$failed"
