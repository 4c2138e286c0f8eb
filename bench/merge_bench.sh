#!/usr/bin/env bash
# Times merging one value into every ensemble of a 1 GiB chain of three part
# files against cp of the same files, in one run, best of three, without
# waiting for the written pages to reach the disk, and prints the ratio
# (goal: at most 2). cp copies inside the kernel; "cat to a file" (every byte
# read into and written from user memory, as any program that changes the
# bytes must) is timed too and its ratio printed for reference.
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
    "/out:$data/copy/merged.ens" 2>/dev/null
}
bench_against_copy merge
rm -f "$data"/copy/*

awk -v c="$cp_seconds" -v f="$cat_seconds" -v m="$run_seconds" \
  'BEGIN { printf "cp %.3f s, cat to a file %.3f s (ratio %.2f), merge %.3f s, ratio %.2f\n", c, f, f / c, m, m / c }'
