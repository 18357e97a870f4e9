#!/usr/bin/env bash
# Times CHICVT converting 200 CHI files of 5,000 points each (bench_001.chi to
# bench_200.chi) made in a temporary directory. Needs build/bin/chicvt.
# FILES and POINTS change the size; CHICVT names another executable.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
program=${CHICVT:-$top/build/bin/chicvt}
files=${FILES:-200}
points=${POINTS:-5000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
awk -v files="$files" -v points="$points" 'BEGIN {
  for (n = 1; n <= files; n++) {
    name = sprintf("bench_%03d.chi", n)
    printf "Benchmark profile %d\n2-Theta Angle (Degrees)\nIntensity\n%11d\n", n, points > name
    for (i = 0; i < points; i++) {
      x = 2.0 + 0.01 * i
      y = 50.0 * sin(0.37 * i + n) + 400.0 * exp(-((x - 20.0) / 0.3) ^ 2)
      printf "%14.7E%15.7E\n", x, y > name
    }
    close(name)
  }
}'
last=$(printf 'bench_%03d.chi' "$files")
start=$(date +%s%N)
printf 'bench_001.chi %s\n' "$last" | "$program" > run.log
end=$(date +%s%N)
converted=$(ls ./*.TLK | wc -l)
awk -v files="$converted" -v points="$points" -v ns=$((end - start)) 'BEGIN {
  seconds = ns / 1e9
  printf "chicvt: %d files x %d points converted in %.3f s (%.2f million points/s)\n", files, points, seconds, files * points / seconds / 1e6
}'
