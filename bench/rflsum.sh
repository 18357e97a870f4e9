#!/usr/bin/env bash
# RFLSUM on one powder histogram of 99,999 reflections (the most a histogram
# can address), read through the experiment store and the reflection reader.
# Usage: bench/rflsum.sh [path to rflsum]  (default build/bin/rflsum)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$top/build/bin/rflsum}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$top/tools/make_reflection_data.py" bench "$work" 99999
cd "$work"
best=
for run in 1 2 3; do
  start=$EPOCHREALTIME
  "$program" BENCH < /dev/null > out.txt 2>&1
  end=$EPOCHREALTIME
  best=$(awk -v s="$start" -v e="$end" -v b="$best" 'BEGIN { t = e - s; if (b == "" || t < b) b = t; printf "%.3f", b }')
done
echo "rflsum, one powder histogram of 99999 reflections: best of 3 runs $best s"
grep " has " out.txt
