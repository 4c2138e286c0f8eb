#!/usr/bin/env bash
# Times reading every ensemble of a chain of three part files (1 GiB) against
# cat of the same files, in one run, and prints the ratio (goal: at most 2).
# Usage: bench/read_bench.sh [BUILD_DIR] [CHAIN_MIB]
#   (default: the plain build in build/, a chain of 1024 MiB)
set -euo pipefail
. "$(dirname "$0")/bench-lib.sh"
bench_need "no bench programs in $build/bench" bench/list_ensembles bench/make_chain

bench_scratch
bench_chain "${2:-1024}"

# One untimed pass of each, so the timed passes read from the page cache;
# then the best of five alternating passes of each.
list_ensembles() { "$build/bench/list_ensembles" -q "${parts[0]}" >/dev/null; }
bench_cat_chain
"$build/bench/list_ensembles" -q "${parts[0]}"
best_of_alternating 5 bench_cat_chain list_ensembles

awk -v c="$first_seconds" -v r="$second_seconds" \
  'BEGIN { printf "cat %.3f s, ensemble reader %.3f s, ratio %.2f\n", c, r, r / c }'
