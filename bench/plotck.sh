#!/usr/bin/env bash
# Times PLOTCK without a screen writing one PostScript printer file: the
# ellipse figure (14,760 line segments) and then the square figure REPEATS
# times (answer Y to "Do again"), in a temporary directory. Needs build/bin/plotck.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
program=${PLOTCK:-$top/build/bin/plotck}
repeats=${REPEATS:-10000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
{
  printf 'Z\nB\n\n'
  for ((i = 1; i < repeats; ++i)); do echo Y; done
  echo N
} > answers
start=$(date +%s.%N)
"$program" < answers > run.log 2>&1
end=$(date +%s.%N)
pages=$(grep -c '^%%Page: ' Plot_Ck.PS)
lines=$(wc -l < Plot_Ck.PS)
seconds=$(awk -v s="$start" -v e="$end" 'BEGIN {print e - s}')
awk -v p="$pages" -v l="$lines" -v s="$seconds" 'BEGIN {
  printf "plotck: %d pages, %d PostScript lines in %.3f s (%.0f thousand lines/s)\n", p, l, s, l / s / 1000 }'
