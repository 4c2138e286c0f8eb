#!/usr/bin/env bash
# Runs the four data utilities unattended on samples/sample.ens and writes
# their outputs into OUT_DIR: the checker's report (the input's folder shown
# as "SAMPLES"), the converter's text, the merger's file built from that text,
# and the slicer's parts.
# Usage: produce.sh BUILD_DIR OUT_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
out=$2
here=$(cd "$(dirname "$0")" && pwd)
samples=$(cd "$here/../../../samples" && pwd)
export QT_QPA_PLATFORM=offscreen
export HOME="$out/home" XDG_CONFIG_HOME="$out/home/.config"
mkdir -p "$out/slices" "$HOME"
cd "$out"
"$build/check/vostic" "-in:$samples/sample.ens" -out:report.log
sed -i "s|$samples/|SAMPLES/|g" report.log
"$build/convert/dralin" "-in:$samples/sample.ens" "-dec:$here/sample.dec" -out:sample.txt
"$build/merge/quenta" "-in:$samples/sample.ens" "-dec:$here/sample.dec" -ascii:sample.txt -out:merged.ens
"$build/slice/pelmar" "-in:$samples/sample.ens" -out:slices/part -size:10
rm -rf "$HOME"
