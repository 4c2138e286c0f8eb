#!/usr/bin/env bash
# Sends a 1 MB file with lrzsz's sb over a pseudo-terminal pair, once to the
# terminal's YModem receiver (best of three) and once to lrzsz's rb on the
# same kind of pair, checks both copies and prints both throughputs and their
# ratio (goal: at least 1).
# Usage: bench/ymodem_bench.sh [BUILD_DIR]   (default: the plain build in build/)
set -euo pipefail
. "$(dirname "$0")/bench-lib.sh"
bench_need "no ymodem_throughput in $build/bench" bench/ymodem_throughput
command -v sb >/dev/null && command -v rb >/dev/null || { echo "$bench_name: needs lrzsz (sb, rb)" >&2; exit 1; }
driver="$build/bench/ymodem_throughput"

bytes=1000000
bench_scratch
mkdir "$data/ours" "$data/rb"
head -c "$bytes" /dev/urandom >"$data/YMODEM.BIN"

transfer() {
  rm -f "$data/$1"/*
  "$driver" "$1" "$data/YMODEM.BIN" "$data/$1" 2>/dev/null
  cmp -s "$data/YMODEM.BIN" "$data/$1/YMODEM.BIN" || { echo "$bench_name: $1 did not receive the file whole" >&2; exit 1; }
}
ours_seconds=1e9
for _ in 1 2 3; do
  ours_seconds=$(smaller "$ours_seconds" "$(transfer ours)")
done
rb_seconds=$(transfer rb)

awk -v b="$bytes" -v o="$ours_seconds" -v r="$rb_seconds" 'BEGIN {
  printf "sb -> rb %.3f MB/s, sb -> terminal %.3f MB/s, ratio %.2f (goal >= 1)\n", b / r / 1e6, b / o / 1e6, r / o
}'
