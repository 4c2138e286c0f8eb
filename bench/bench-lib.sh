# Steps every bench script shares; sourced right after `set -euo pipefail`.
# Sets top (the source tree) and build (the script's first argument, or the
# plain build in build/).
bench_name=$(basename "$0" .sh)
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
bench_build_given=$#

# bench_need MESSAGE PROGRAM...: every PROGRAM (a path below the build) must
# be there; a build directory named by the caller fails with MESSAGE, the
# default one is built.
bench_need() {
  local message=$1 program
  shift
  for program in "$@"; do
    [ -x "$build/$program" ] && continue
    if [ "$bench_build_given" -gt 0 ]; then
      echo "$bench_name: $message" >&2
      exit 1
    fi
    "$top/scripts/build" plain >/dev/null
    return
  done
}

# bench_scratch: a scratch folder $data, removed when the script ends.
bench_scratch() {
  data=$(mktemp -d)
  trap 'rm -rf "$data"' EXIT
}

# bench_chain [MIB]: a chain of three part files in $data, 1 GiB unless MIB
# says otherwise; parts lists them.
bench_chain() {
  "$build/bench/make_chain" "$data" "${1:-1024}" 3
  parts=("$data"/chain_*.ens)
}
# bench_cat_chain: cat of the parts, the bytes thrown away.
bench_cat_chain() { cat "${parts[@]}" >/dev/null; }

now() { date +%s.%N; }
# Seconds since START, a value of now.
elapsed() { echo "$(now) $1" | awk '{print $1 - $2}'; }
# The smaller of two second counts.
smaller() { echo "$1 $2" | awk '{print ($2 < $1) ? $2 : $1}'; }

# timed_write FOLDER COMMAND...: seconds COMMAND takes, after emptying FOLDER
# and writing dirty pages back; removing large files and writing back take a
# while, and no timed pass pays for another's.
timed_write() {
  local folder=$1 start
  shift
  rm -f "$folder"/*
  sync
  start=$(now)
  "$@"
  elapsed "$start"
}

# best_of N COMMAND...: the shortest of N timed runs of COMMAND, in seconds.
best_of() {
  local runs=$1 best=1e9 start
  shift
  for ((run = 0; run < runs; run++)); do
    start=$(now)
    "$@"
    best=$(smaller "$best" "$(elapsed "$start")")
  done
  echo "$best"
}

# best_of_alternating N FIRST SECOND: the shortest of N timed runs each of the
# commands FIRST and SECOND (one word each), taken in turn so that both meet
# the same state of the machine; sets first_seconds and second_seconds.
best_of_alternating() {
  local runs=$1 first=$2 second=$3 start
  first_seconds=1e9
  second_seconds=1e9
  for ((run = 0; run < runs; run++)); do
    start=$(now)
    "$first"
    first_seconds=$(smaller "$first_seconds" "$(elapsed "$start")")
    start=$(now)
    "$second"
    second_seconds=$(smaller "$second_seconds" "$(elapsed "$start")")
  done
}

# bench_against_copy COMMAND: the best of three timings each of cp of the
# parts into $data/copy, cat of them into one file there, and COMMAND (which
# writes there too); sets cp_seconds, cat_seconds and run_seconds.
bench_against_copy() {
  local run=$1
  bench_cat_chain
  cp_seconds=1e9
  cat_seconds=1e9
  run_seconds=1e9
  for _ in 1 2 3; do
    cp_seconds=$(smaller "$cp_seconds" "$(timed_write "$data/copy" cp "${parts[@]}" "$data/copy/")")
    cat_seconds=$(smaller "$cat_seconds" "$(timed_write "$data/copy" bench_cat_to_file)")
    run_seconds=$(smaller "$run_seconds" "$(timed_write "$data/copy" "$run")")
  done
}
bench_cat_to_file() { cat "${parts[@]}" >"$data/copy/all"; }
