#!/usr/bin/env bash
# Overlap factors of the Cu K-alpha1 reflections of an orthorhombic phase, with
# the Mo and synchrotron histograms separating pairs. The answers are replayed
# from the macro file answers.mac (@R, then its name).
set -euo pipefail
printf '@R\nanswers.mac\n' | pkshar
echo
echo "--- cu_ka1.TXT (first 12 lines) ---"
head -12 cu_ka1.TXT
