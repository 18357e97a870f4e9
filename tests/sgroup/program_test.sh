#!/usr/bin/env bash
# Runs build/bin/sgroup on every case under tests/data/sgroup/program/ in a
# scratch directory and compares standard output, standard error and the exit
# status with the expected files.
set -uo pipefail
program=$1
cases=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for args in "$cases"/*.args; do
  name=$(basename "$args" .args)
  mapfile -t arguments < "$args"
  (cd "$work" && timeout 20 "$program" "${arguments[@]}" > "$name.out" 2> "$name.err" < /dev/null)
  echo $? > "$work/$name.status"
  for part in out err status; do
    if ! diff -u "$cases/$name.$part" "$work/$name.$part"; then
      echo "FAILED: $name ($part)"
      failed=1
    fi
  done
done
exit $failed
