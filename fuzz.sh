#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for the given seconds (default 60) on a copy of its inputs in testdata/fuzz.
#   ./fuzz.sh [seconds] [target ...]
# Inputs that crash, leak, time out or run out of memory land in build/fuzz/artifacts/<target>/;
# minimise them (fuzz_<target> -minimize_crash=1) and commit them to testdata/fuzz/<target>/.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
RM_PACKAGES+=(clang libclang-rt-14-dev)
rm_setup

seconds=${1:-60}
shift || true
build=build/fuzz
cmake -S . -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
  -DRM_FUZZ=ON -DRM_SANITIZE=ON -DRM_BUILD_TESTS=OFF -DRM_BUILD_BENCH=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in testdata/fuzz/*/; do targets+=("$(basename "$dir")"); done
fi
cmake --build "$build" -j 3 --target "${targets[@]/#/fuzz_}"

failed=0
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$PWD/testsupport/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  artifacts=$build/artifacts/$t/
  mkdir -p "$corpus" "$artifacts"
  log=$build/$t.log
  if "$build/fuzz/fuzz_$t" "$corpus" "testdata/fuzz/$t" -max_total_time="$seconds" \
      -max_len=65536 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$artifacts" >"$log" 2>&1; then
    status=clean
  else
    status="FAILED (see $log)"
    failed=1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1)
  echo "$t: ${execs:-?} executions, ${cov:-cov: ?}, $status"
done
exit $failed
