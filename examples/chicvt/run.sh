#!/usr/bin/env bash
# CHICVT on a shipped heating run of four Fit2D CHI profiles (ceo2_1.chi to
# ceo2_4.chi). The two file names are replayed from the macro file
# convert.mac (answer "@R", then the macro's name), as a recorded run would be.
set -euo pipefail
printf '@R\nconvert.mac\n' | chicvt
echo
echo "FXYE files written (80-column records ending in CR LF, 82 bytes each):"
wc -c ceo2_*.TLK
echo
echo "First lines of ceo2_1.TLK:"
head -n 8 ceo2_1.TLK | tr -d '\r'
