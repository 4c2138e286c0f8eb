#!/usr/bin/env bash
# Times reading every ensemble of a 1 GiB chain of three part files against
# cat of the same files, in one run, and prints the ratio (goal: at most 2).
# Usage: bench/read_bench.sh [BUILD_DIR]   (default: the plain build in build/)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
if [ ! -x "$build/bench/list_ensembles" ] || [ ! -x "$build/bench/make_chain" ]; then
  if [ $# -gt 0 ]; then
    echo "read_bench: no bench programs in $build/bench" >&2
    exit 1
  fi
  "$top/scripts/build" plain >/dev/null
fi

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
"$build/bench/make_chain" "$data" 1024 3
parts=("$data"/chain_*.ens)

now() { date +%s.%N; }
elapsed() { echo "$(now) $1" | awk '{print $1 - $2}'; }
# One untimed pass of each, so the timed passes read from the page cache;
# then the best of five alternating passes of each.
cat "${parts[@]}" >/dev/null
"$build/bench/list_ensembles" -q "${parts[0]}"
cat_seconds=1e9
read_seconds=1e9
for _ in 1 2 3 4 5; do
  start=$(now)
  cat "${parts[@]}" >/dev/null
  cat_seconds=$(echo "$cat_seconds $(elapsed "$start")" | awk '{print ($2 < $1) ? $2 : $1}')
  start=$(now)
  "$build/bench/list_ensembles" -q "${parts[0]}" >/dev/null
  read_seconds=$(echo "$read_seconds $(elapsed "$start")" | awk '{print ($2 < $1) ? $2 : $1}')
done

awk -v c="$cat_seconds" -v r="$read_seconds" \
  'BEGIN { printf "cat %.3f s, ensemble reader %.3f s, ratio %.2f\n", c, r, r / c }'
