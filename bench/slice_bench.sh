#!/usr/bin/env bash
# Times slicing a 1 GiB chain of three part files into slices of at most
# 100 MB against cp of the same files, in one run, best of three, without
# waiting for the written pages to reach the disk, and prints the ratio
# (goal: at most 1.5). "cat to a file" is timed too, for reference.
# Usage: bench/slice_bench.sh [BUILD_DIR]   (default: the plain build in build/)
set -euo pipefail
. "$(dirname "$0")/bench-lib.sh"
bench_need "no pelmar or make_chain in $build" slice/pelmar bench/make_chain

bench_scratch
mkdir "$data/copy" "$data/config"
bench_chain

slice() {
  env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$data/config" \
    "$build/slice/pelmar" "/in:${parts[0]}" "/out:$data/copy/cut" /size:100
}
bench_against_copy slice
count=$(ls "$data/copy" | wc -l)
rm -f "$data"/copy/*

awk -v c="$cp_seconds" -v f="$cat_seconds" -v s="$run_seconds" -v n="$count" \
  'BEGIN { printf "cp %.3f s, cat to a file %.3f s (ratio %.2f), slicer %.3f s (%d slices), ratio %.2f\n", c, f, f / c, s, n, s / c }'
