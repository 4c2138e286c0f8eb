#!/usr/bin/env bash
# Times dralin converting a 1 GiB chain of three part files (a decoder of ten
# value records and one line end per ensemble) against cat of the same files,
# in one run, best of three, and prints the ratio (goal: at most 3).
# Usage: bench/convert_bench.sh [BUILD_DIR]   (default: the plain build in build/)
set -euo pipefail
. "$(dirname "$0")/bench-lib.sh"
bench_need "no dralin or make_chain in $build" convert/dralin bench/make_chain

bench_scratch
bench_chain
cat >"$data/bench.dec" <<'DECODER'
; ensemble number, then nine values of the velocity data type
0080,3,2
0080,5,1
0100,3,1
0100,4,-1,0.5,1
0100,5,2,0.01,2
0100,7,-2
0100,9,4
0100,13,1,1,0,+
0100,14,1,0.1,1
0100,20,-4,0.001,3
$L
DECODER

export XDG_CONFIG_HOME="$data/settings"
unset DISPLAY WAYLAND_DISPLAY
convert() {
  rm -f "$data/out.txt"
  "$build/convert/dralin" "/in:${parts[0]}" "/dec:$data/bench.dec" "/out:$data/out.txt" 2>/dev/null
}
# One untimed pass of each, so both timed passes read from the page cache.
bench_cat_chain
convert

cat_seconds=$(best_of 3 bench_cat_chain)
convert_seconds=$(best_of 3 convert)

lines=$(wc -l <"$data/out.txt")
awk -v c="$cat_seconds" -v r="$convert_seconds" -v n="$lines" \
  'BEGIN { printf "cat %.3f s, dralin %.3f s (%d lines), ratio %.2f\n", c, r, n, r / c }'
