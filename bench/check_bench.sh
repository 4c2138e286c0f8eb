#!/usr/bin/env bash
# Times checking a chain of three part files (1 GiB) against cat of the same
# files, in one run, best of three, and prints the ratio (goal: at most 2).
# Usage: bench/check_bench.sh [BUILD_DIR] [CHAIN_MIB]
#   (default: the plain build in build/, a chain of 1024 MiB)
set -euo pipefail
. "$(dirname "$0")/bench-lib.sh"
bench_need "no vostic or make_chain in $build" check/vostic bench/make_chain

bench_scratch
mkdir "$data/config"
bench_chain "${2:-1024}"

check() {
  rm -f "$data/chain.log"
  env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$data/config" \
    "$build/check/vostic" "/in:${parts[0]}" "/out:$data/chain.log" 2>/dev/null
}
# One untimed pass of each, so both timed passes read from the page cache.
bench_cat_chain
check

cat_seconds=$(best_of 3 bench_cat_chain)
check_seconds=$(best_of 3 check)
valid=$(grep -a "^Valid Ensembles" "$data/chain.log" | tr -d '\r')

awk -v c="$cat_seconds" -v k="$check_seconds" -v v="$valid" \
  'BEGIN { printf "cat %.3f s, checker %.3f s (%s), ratio %.2f\n", c, k, v, k / c }'
