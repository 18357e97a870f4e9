#!/usr/bin/env bash
# PKSHAR on 10 reflection lists of 10,000 reflections each, every reflection
# overlapping about 20 later ones and every key present in every list.
# Usage: bench/pkshar.sh [path to pkshar]  (default build/bin/pkshar)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$top/build/bin/pkshar}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
python3 - <<'PY'
import random
random.seed(7)
n = 10000
keys = [((i % 40) - 20, ((i // 40) % 40) - 20, i // 1600) for i in range(n)]
for j in range(10):
    order = list(range(n))
    if j:
        random.shuffle(order)
    with open(f"list{j}.RFL", "w") as out:
        out.write(f"benchmark list {j}\n")
        for i in order:
            h, k, l = keys[i]
            position = 10.0 + i * 0.05 + random.uniform(-0.02, 0.02) * j
            out.write(f"{h:4d}{k:4d}{l:4d}{1:8d}{'':10s}{position:10.4f}{0.5:10.4f}{'':30s}{0:4d}\n")
        out.write(f"{0:4d}{0:4d}{0:4d}{0:8d}\n")
PY
printf 'list%d.RFL\n' 0 1 2 3 4 5 6 7 8 9 > answers
start=$EPOCHREALTIME
"$program" < answers > /dev/null 2>&1
end=$EPOCHREALTIME
awk -v s="$start" -v e="$end" 'BEGIN { printf "pkshar, 10 lists x 10000 reflections: %.3f s\n", e - s }'
head -3 list0.TXT
