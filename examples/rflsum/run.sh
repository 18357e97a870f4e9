#!/usr/bin/env bash
# RFLSUM on a P 21/c structure: histogram 1 is an X-ray powder pattern,
# histogram 2 a single-crystal data set with a merged file. The single-crystal
# table shows the absences of P 21/c: "0k0 k = 2n+1" (the 2-fold screw axis)
# and "h0l l = 2n+1" with "00l l = 2n+1" (the c glide) hold only weak
# reflections (no n>3s). The files were made by tools/make_reflection_data.py.
set -euo pipefail
rflsum P21C < answers.txt
echo
echo "=== the listing file P21C.LST"
cat P21C.LST
