#!/usr/bin/env bash
# Times merging one value into every ensemble of a 1 GiB chain of three part
# files against cp of the same files, in one run, and prints the ratio
# (goal: at most 3).
# Usage: bench/merge_bench.sh [BUILD_DIR]   (default: the plain build in build/)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
if [ ! -x "$build/merge/quenta" ] || [ ! -x "$build/bench/make_chain" ]; then
  if [ $# -gt 0 ]; then
    echo "merge_bench: no quenta or make_chain in $build" >&2
    exit 1
  fi
  "$top/scripts/build" plain >/dev/null
fi

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
"$build/bench/make_chain" "$data" 1024 3
parts=("$data"/chain_*.ens)
mkdir "$data/copy" "$data/config"
printf '0100,3,2\r\n$L\r\n' >"$data/one.dec"
# More lines than the chain has ensembles (about 1 KiB each).
awk 'BEGIN { for (i = 0; i < 1200000; i++) printf "%d\r\n", i % 65536 }' >"$data/values.txt"

now() { date +%s.%N; }
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
cp_seconds=$(echo "$(now) $start" | awk '{print $1 - $2}')

sync
start=$(now)
merge
merge_seconds=$(echo "$(now) $start" | awk '{print $1 - $2}')

awk -v c="$cp_seconds" -v m="$merge_seconds" \
  'BEGIN { printf "cp %.3f s, merge %.3f s, ratio %.2f\n", c, m, m / c }'
