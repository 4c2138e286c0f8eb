#!/usr/bin/env bash
# Times slicing a 1 GiB chain of three part files into slices of at most
# 100 MB against cp of the same files, in one run, and prints the ratio
# (goal: at most 2).
# Usage: bench/slice_bench.sh [BUILD_DIR]   (default: the plain build in build/)
set -euo pipefail
. "$(dirname "$0")/bench-lib.sh"
bench_need "no pelmar or make_chain in $build" slice/pelmar bench/make_chain

bench_scratch
mkdir "$data/copy" "$data/slices" "$data/config"
bench_chain

slice() {
  env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$data/config" \
    "$build/slice/pelmar" "/in:${parts[0]}" "/out:$data/slices/cut" /size:100
}
# One untimed pass of each, so both timed passes read from the page cache.
cp "${parts[@]}" "$data/copy/"
rm -f "$data/copy"/*
slice
rm -f "$data/slices"/*

start=$(now)
cp "${parts[@]}" "$data/copy/"
sync -f "$data/copy"
cp_seconds=$(elapsed "$start")
rm -f "$data/copy"/*

start=$(now)
slice
sync -f "$data/slices"
slice_seconds=$(elapsed "$start")
count=$(ls "$data/slices" | wc -l)

awk -v c="$cp_seconds" -v s="$slice_seconds" -v n="$count" \
  'BEGIN { printf "cp %.3f s, slicer %.3f s (%d slices), ratio %.2f\n", c, s, n, s / c }'
