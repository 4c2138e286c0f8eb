#!/usr/bin/env bash
# Produces the data utilities' outputs for the sample afresh and compares
# them byte for byte with the checked-in reference files beside this script.
# Usage: compare.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
"$here/produce.sh" "$(cd "$1" && pwd)" "$fresh"
diff -r "$here/expected" "$fresh" && echo "reference outputs: identical"
