#!/usr/bin/env bash
# Times the space-group interpreter on the 230 standard short symbols (taken
# from the reference table of the tests), interpreted 100 times over.
# Target: under 1 s.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cmake --build "$build" -j2 --target sgroup_bench >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed -n 's/^group standard //p' "$top/tests/data/sgroup/reference_groups.txt" > "$work/symbols.txt"
echo " $(wc -l < "$work/symbols.txt") standard symbols"
"$build/bin/sgroup_bench" "$work/symbols.txt" 100
