#!/usr/bin/env bash
# Runs rflsum on every case directory under the fixture directory, in a scratch
# copy, and compares standard output, standard error, the exit status and the
# listing file with the case's expected files. Dates and times are masked.
# Usage: run_rflsum_cases.sh RFLSUM FIXTURES [--update]
set -uo pipefail
program=$1
fixtures=$2
update=${3:-}
failures=0
mask() {
  sed -E -e 's/Distributed on .{24}/Distributed on <build date>/' \
         -e '/^1/s/[A-Z][a-z]{2} [ 0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}/<date and time>/'
}
for case_dir in "$fixtures"/*/; do
  name=$(basename "$case_dir")
  work=$(mktemp -d)
  cp -r "$case_dir." "$work/"
  (
    cd "$work" || exit 1
    envs=()
    [ -f env ] && read -r -a envs < env
    env "${envs[@]}" timeout 20 "$program" $(cat args) < stdin > out.raw 2> err.raw
    echo $? > status.actual
    mask < out.raw > stdout.actual
    mask < err.raw > stderr.actual
    for lst in *.LST; do [ -f "$lst" ] && mask < "$lst" > listing.actual; done
  )
  for part in stdout stderr status listing; do
    [ -f "$work/$part.actual" ] || continue
    if [ "$update" = "--update" ]; then
      cp "$work/$part.actual" "$case_dir/$part.expected"
    elif ! diff -u "$case_dir/$part.expected" "$work/$part.actual"; then
      echo "FAILED: case $name, $part"
      failures=$((failures + 1))
    fi
  done
  rm -rf "$work"
done
[ "$failures" -eq 0 ] && echo "all rflsum cases passed"
exit "$failures"
