#!/usr/bin/env bash
# Runs pkshar in a scratch copy of a fixture case and compares every file under
# the case's expected/ folder with what the run left (standard output and
# error as stdout and stderr, the exit status as status). The build date in
# the banner is masked.
set -u
program=$1
case_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$case_dir/." "$work/"
cd "$work"
timeout 60 "$program" < answers > stdout 2> stderr
echo $? > status
sed -i 's/Distributed on .\{24\}/Distributed on <build date>/' stdout
failed=0
for expected in expected/*; do
  name=$(basename "$expected")
  if ! diff -u "$expected" "$name"; then
    echo "MISMATCH in $name"
    failed=1
  fi
done
# No partial output is ever left behind.
if ls ./*.part >/dev/null 2>&1; then echo "a partial output file was left"; failed=1; fi
exit $failed
