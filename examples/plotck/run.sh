#!/usr/bin/env bash
# PLOTCK without a screen (option Z), so it runs with no display: first a
# PostScript printer file of both figures, then one EPS file per figure.
set -euo pipefail

echo "--- PostScript printer file (hardcopy option B)"
plotck < answers_postscript.txt
echo
echo "Pages of Plot_Ck.PS:"
grep '^%%Page' Plot_Ck.PS
echo "Cursor label of the second figure (no screen: key X, code 88, at 0, 0):"
grep '^(  88' Plot_Ck.PS

echo
echo "--- One EPS file per figure (hardcopy option C)"
plotck < answers_eps.txt
echo
ls -l ellipses.EPS squares.EPS
echo "--- squares.EPS"
cat squares.EPS
