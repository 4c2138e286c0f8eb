#!/usr/bin/env bash
# Times merging one value into every ensemble of a 1 GiB chain of three part
# files against cp of the same files, in one run, and prints the ratio
# (goal: at most 3).
# Usage: bench/merge_bench.sh [BUILD_DIR]   (default: the plain build in build/)
set -euo pipefail
. "$(dirname "$0")/bench-lib.sh"
bench_need "no quenta or make_chain in $build" merge/quenta bench/make_chain

bench_scratch
bench_chain
mkdir "$data/copy" "$data/config"
printf '0100,3,2\r\n$L\r\n' >"$data/one.dec"
# More lines than the chain has ensembles (about 1 KiB each).
awk 'BEGIN { for (i = 0; i < 1200000; i++) printf "%d\r\n", i % 65536 }' >"$data/values.txt"

merge() {
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$data/config" \
    "$build/merge/quenta" "/in:${parts[0]}" "/dec:$data/one.dec" "/ascii:$data/values.txt" \
    "/out:$data/merged.ens" 2>/dev/null
}
# One untimed pass of each, so both timed passes read from the page cache.
cp "${parts[@]}" "$data/copy/"
merge

# Removing a large file and writing back dirty pages take a while; neither
# timed pass pays for the other's.
rm -f "$data"/copy/* "$data/merged.ens"
sync
start=$(now)
cp "${parts[@]}" "$data/copy/"
cp_seconds=$(elapsed "$start")

sync
start=$(now)
merge
merge_seconds=$(elapsed "$start")

awk -v c="$cp_seconds" -v m="$merge_seconds" \
  'BEGIN { printf "cp %.3f s, merge %.3f s, ratio %.2f\n", c, m, m / c }'
