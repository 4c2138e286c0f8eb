#!/usr/bin/env bash
# Times RUNS unattended headless runs of each data utility on a file of one
# ensemble against RUNS runs of a program that only loads the same Qt
# libraries, in one run, and prints each ratio (goal: at most 1.5).
# Usage: bench/startup_bench.sh [BUILD_DIR] [RUNS]
#   (default: the plain build in build/, 200 runs)
set -euo pipefail
. "$(dirname "$0")/bench-lib.sh"
bench_need "no utilities or bare_program in $build" convert/dralin check/vostic merge/quenta slice/pelmar \
  bench/bare_program
runs=${2:-200}

bench_scratch
mkdir "$data/config"
# The sample's first ensemble: 637 bytes and its checksum.
head -c 639 "$top/samples/sample.ens" >"$data/one.ens"
printf '0100,3,2\r\n$L\r\n' >"$data/one.dec"
printf '1\r\n' >"$data/values.txt"

headless() { env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$data/config" "$@" 2>/dev/null; }
bare() { headless "$build/bench/bare_program"; }
dralin() { headless "$build/convert/dralin" "/in:$data/one.ens" "/dec:$data/one.dec" /out:/dev/null; }
vostic() { headless "$build/check/vostic" "/in:$data/one.ens" /out:/dev/null; }
quenta() {
  headless "$build/merge/quenta" "/in:$data/one.ens" "/dec:$data/one.dec" "/ascii:$data/values.txt" \
    /out:/dev/null
}
# A fresh prefix each run: an existing slice would end the run at its replace question.
slicing=0
pelmar() {
  slicing=$((slicing + 1))
  headless "$build/slice/pelmar" "/in:$data/one.ens" "/out:$data/cut$slicing-" /size:1
}

# repeated COMMAND: seconds that RUNS runs of COMMAND take.
repeated() {
  local start run
  start=$(now)
  for ((run = 0; run < runs; run++)); do
    "$1"
  done
  elapsed "$start"
}

# Each utility right after its own bare runs, so both meet the same machine.
for utility in dralin vostic quenta pelmar; do
  "$utility"
  bare_seconds=$(repeated bare)
  utility_seconds=$(repeated "$utility")
  awk -v u="$utility" -v n="$runs" -v b="$bare_seconds" -v s="$utility_seconds" \
    'BEGIN { printf "%s %.2f ms a run, bare program %.2f ms, ratio %.2f\n", u, 1000 * s / n, 1000 * b / n, s / b }'
done
