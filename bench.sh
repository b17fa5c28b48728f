#!/usr/bin/env bash
# Builds the release preset and runs every benchmark under bench/.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
rm_setup

cmake --preset release -DRM_BUILD_BENCH=ON >/dev/null
cmake --build --preset release
found=0
for b in build/release/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  found=1
  echo "== $(basename "$b")"
  "$b" "$@"
done
[ "$found" -eq 1 ] || echo "No benchmarks built yet."
