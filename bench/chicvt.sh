#!/usr/bin/env bash
# Times CHICVT converting 200 CHI files of 5,000 points each (bench_001.chi to
# bench_200.chi) made in a temporary directory. Needs build/bin/chicvt.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
program=${CHICVT:-$top/build/bin/chicvt}
files=${FILES:-200}
points=${POINTS:-5000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
python3 - "$files" "$points" <<'PY'
import math, sys
files, points = int(sys.argv[1]), int(sys.argv[2])
for n in range(1, files + 1):
    lines = [f"Benchmark profile {n}", "2-Theta Angle (Degrees)", "Intensity", f"{points:11d}"]
    for i in range(points):
        x = 2.0 + 0.01 * i
        y = 50.0 * math.sin(0.37 * i + n) + 400.0 * math.exp(-((x - 20.0) / 0.3) ** 2)
        lines.append(f"{x:14.7E}{y:15.7E}")
    with open(f"bench_{n:03d}.chi", "w") as f:
        f.write("\n".join(lines) + "\n")
PY
last=$(printf 'bench_%03d.chi' "$files")
start=$(date +%s.%N)
printf 'bench_001.chi %s\n' "$last" | "$program" > run.log
end=$(date +%s.%N)
converted=$(ls *.TLK | wc -l)
seconds=$(echo "$end - $start" | bc -l)
printf 'chicvt: %d files x %d points converted in %.3f s (%.2f million points/s)\n' \
  "$converted" "$points" "$seconds" "$(echo "$converted * $points / $seconds / 1000000" | bc -l)"
