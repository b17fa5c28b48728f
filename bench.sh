#!/usr/bin/env bash
# Builds the release preset, runs every benchmark under bench/ with three repetitions, taken in
# turns with the other benchmarks of its file, and prints one table of the medians: path, ours,
# baseline, ratio, goal, met.
# Arguments go to every benchmark (e.g. --benchmark_repetitions=5).
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
rm_setup

cmake --preset release -DRM_BUILD_BENCH=ON >/dev/null
cmake --build --preset release -j 3
rows=$(mktemp)
out=$(mktemp)
trap 'rm -f "$rows" "$out"' EXIT
found=0
for b in build/release/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  found=1
  echo "== $(basename "$b")"
  # Repetitions of a benchmark and of its baseline take turns in random order, so that a change
  # of load on a shared machine falls on both sides of a ratio alike.
  "$b" --benchmark_color=false --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
    --benchmark_enable_random_interleaving=true "$@" | tee "$out" | grep -v 'ROW' || true
  grep -o 'ROW.*' "$out" >>"$rows" || true
done
[ "$found" -eq 1 ] || { echo "No benchmarks built yet."; exit 0; }
echo
{
  printf 'path\tours\tbaseline\tratio\tgoal\tmet\n'
  cut -f2- "$rows"
} | column -t -s $'\t'
