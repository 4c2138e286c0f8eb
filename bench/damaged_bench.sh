#!/usr/bin/env bash
# Times vostic on a damaged recording (ten ensembles, 1 MiB of a repeated
# false header claiming 1,000,000 bytes each, then ensembles up to 3 MB)
# against a clean recording of the same size, in one run, best of three, and
# prints the ratio (goal: at most 3).
# Usage: bench/damaged_bench.sh [BUILD_DIR] [DAMAGED_MIB TOTAL_MB]
#   (default: the plain build in build/, 1 MiB of damage in 3 MB)
set -euo pipefail
. "$(dirname "$0")/bench-lib.sh"
bench_need "no vostic or make_damaged in $build" check/vostic bench/make_damaged
damage=${2:-1}
total=${3:-3}

bench_scratch
mkdir "$data/config"
"$build/bench/make_damaged" "$data" "$damage" "$total"

check() {
  rm -f "$data/$1.log"
  env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$data/config" \
    "$build/check/vostic" "/in:$data/$1.ens" "/out:$data/$1.log" 2>/dev/null
}
check_clean() { check clean; }
check_damaged() { check damaged; }
check_clean
check_damaged
best_of_alternating 3 check_clean check_damaged
clean_valid=$(grep -a "^Valid Ensembles" "$data/clean.log" | tr -d '\r')
damaged_valid=$(grep -a "^Valid Ensembles" "$data/damaged.log" | tr -d '\r')

awk -v c="$first_seconds" -v d="$second_seconds" -v cv="$clean_valid" -v dv="$damaged_valid" \
  'BEGIN { printf "clean %.3f s (%s), damaged %.3f s (%s), ratio %.2f\n", c, cv, d, dv, d / c }'
