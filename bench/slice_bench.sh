#!/usr/bin/env bash
# Times slicing a 1 GiB chain of three part files into slices of at most
# 100 MB against cp of the same files, in one run, and prints the ratio
# (goal: at most 2).
# Usage: bench/slice_bench.sh [BUILD_DIR]   (default: the plain build in build/)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
if [ ! -x "$build/slice/pelmar" ] || [ ! -x "$build/bench/make_chain" ]; then
  if [ $# -gt 0 ]; then
    echo "slice_bench: no pelmar or make_chain in $build" >&2
    exit 1
  fi
  "$top/scripts/build" plain >/dev/null
fi

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
mkdir "$data/copy" "$data/slices" "$data/config"
"$build/bench/make_chain" "$data" 1024 3
parts=("$data"/chain_*.ens)

now() { date +%s.%N; }
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
cp_seconds=$(echo "$(now) $start" | awk '{print $1 - $2}')
rm -f "$data/copy"/*

start=$(now)
slice
sync -f "$data/slices"
slice_seconds=$(echo "$(now) $start" | awk '{print $1 - $2}')
count=$(ls "$data/slices" | wc -l)

awk -v c="$cp_seconds" -v s="$slice_seconds" -v n="$count" \
  'BEGIN { printf "cp %.3f s, slicer %.3f s (%d slices), ratio %.2f\n", c, s, n, s / c }'
