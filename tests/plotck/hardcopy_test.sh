#!/usr/bin/env bash
# PLOTCK without a screen (option Z) on every hardcopy option: each case
# directory holds the answers, files to place first (before/) and the expected
# standard output, standard error and hardcopy files (expected/). Every output
# file is compared whole; every PostScript and EPS file must also be accepted
# by Ghostscript; no plot file may survive.
# Usage: hardcopy_test.sh <plotck> <tests/data/plotck>
set -u
plotck=$(realpath "$1")
data=$(realpath "$2")
failures=0
passed=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for case in "$data"/*/; do
  name=$(basename "$case")
  run="$work/$name"
  mkdir -p "$run"
  [ -d "$case/before" ] && cp "$case/before/." "$run/" -r
  (cd "$run" && timeout 60 "$plotck" <"$case/answers" >stdout.txt 2>stderr.txt)
  status=$?
  sed -i 's/^ PLOTCK linked .*/ PLOTCK linked (build date)/' "$run/stdout.txt"
  problems=()
  [ "$status" -eq 0 ] || problems+=("exit status $status")
  for expected in "$case"/expected/*; do
    file=$(basename "$expected")
    cmp -s "$expected" "$run/$file" || problems+=("$file differs")
  done
  for produced in "$run"/*; do
    file=$(basename "$produced")
    [ -e "$case/expected/$file" ] || problems+=("unexpected file $file")
  done
  for postscript in "$run"/*.PS "$run"/*.EPS; do
    [ -e "$postscript" ] || continue
    if ! report=$(timeout 60 gs -q -dBATCH -dNOPAUSE -dSAFER -sDEVICE=nullpage "$postscript" 2>&1) ||
      grep -qi error <<<"$report"; then
      problems+=("Ghostscript rejects $(basename "$postscript"): $report")
    fi
  done
  if ((${#problems[@]})); then
    echo "FAIL $name: ${problems[*]}"
    for expected in "$case"/expected/*; do
      diff "$expected" "$run/$(basename "$expected")" 2>&1 | head -10
    done
    failures=$((failures + 1))
  else
    echo "ok   $name"
    passed=$((passed + 1))
  fi
done
echo "PLOTCK hardcopy cases: $passed passed, $failures failed"
((failures == 0))
