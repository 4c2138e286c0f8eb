#!/usr/bin/env bash
# Floods a pseudo-terminal with 100 MB and compares the bytes per second that
# reach the terminal's log file with cat reading the same flood into a file,
# in one run (goal: at least half of cat); then measures the processor share
# of an open port left idle for 10 seconds (goal: under 1%).
# Usage: bench/serial_bench.sh [BUILD_DIR]   (default: the plain build in build/)
set -euo pipefail
. "$(dirname "$0")/bench-lib.sh"
bench_need "no serial_flood in $build/bench" bench/serial_flood
driver="$build/bench/serial_flood"

bytes=$((100 * 1000 * 1000))
bench_scratch

# Best of three alternating passes of each.
cat_seconds=1e9
log_seconds=1e9
for _ in 1 2 3; do
  s=$("$driver" cat "$bytes" "$data/cat.out")
  cat_seconds=$(smaller "$cat_seconds" "$s")
  s=$("$driver" flood "$bytes" "$data/flood.log")
  log_seconds=$(smaller "$log_seconds" "$s")
  rm -f "$data/cat.out" "$data/flood.log"
done
idle=$("$driver" idle 10)

awk -v b="$bytes" -v c="$cat_seconds" -v l="$log_seconds" -v i="$idle" 'BEGIN {
  printf "cat %.1f MB/s, terminal log %.1f MB/s, ratio %.2f (goal >= 0.5)\n", b / c / 1e6, b / l / 1e6, c / l
  printf "idle open port: %.3f%% of one processor (goal < 1%%)\n", i
}'
