#!/usr/bin/env bash
# Corundum (Al2O3): the space group R -3 c on hexagonal axes with the Al site
# (0, 0, z) and the O site (x, 0, 1/4); then a mistyped symbol the
# interpreter rejects (exit status 1).
set -u
sgroup "R -3 c" "0,0,0.35216" "0.30624,0,1/4"
sgroup "P 6 2 3" || echo " (sgroup exit status $?)"
