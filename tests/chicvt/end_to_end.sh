#!/usr/bin/env bash
# Runs CHICVT on fixture sequences in scratch directories and compares the
# whole terminal output and the whole FXYE files with the expected ones.
# Usage: end_to_end.sh <chicvt executable> <fixture directory>
set -uo pipefail
program=$1
data=$2
failures=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() { echo "FAIL [$case_name]: $*"; failures=$((failures + 1)); }

# new_case NAME FILE=FIXTURE... : a fresh directory holding copies of fixtures.
new_case() {
  case_name=$1
  shift
  work="$scratch/$case_name"
  mkdir -p "$work"
  local pair
  for pair in "$@"; do cp "$data/${pair#*=}" "$work/${pair%%=*}"; done
}

# run ANSWERS: CHICVT with the answers on standard input, bounded in time.
run() {
  (cd "$work" && printf '%s' "$1" | timeout 20 "$program" > stdout.txt 2> stderr.txt)
  status=$?
}

expect_status() { [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"; }

expect_stdout() {
  diff <(printf '%s' "$1") "$work/stdout.txt" > "$work/stdout.diff" || { fail "standard output differs:"; cat "$work/stdout.diff"; }
}

expect_fxye() {  # expect_fxye OUTPUT EXPECTED-FIXTURE
  cmp -s "$work/$1" "$data/expected/$2" || fail "$1 differs from expected/$2"
}

expect_absent() {
  local name
  for name in "$@"; do [ ! -e "$work/$name" ] || fail "$name should not exist"; done
}

# Three files named on one answer line.
new_case sequence lab6_1.chi=lab6_1.chi lab6_2.chi=lab6_2.chi lab6_3.chi=lab6_3.chi
run $'lab6_1.chi lab6_3.chi\n'
expect_status 0
expect_stdout ' Enter first Fit2D CHI datafile to process > First data set no:    1
 Process data nos.    1 to    3
 Processing file lab6_1.chi
 Processing file lab6_2.chi
 Processing file lab6_3.chi
'
for n in 1 2 3; do expect_fxye "lab6_$n.TLK" "lab6_$n.TLK"; done
[ ! -s "$work/stderr.txt" ] || fail "unexpected standard error: $(cat "$work/stderr.txt")"

# From 9 to 10 the name gains a digit; plain reals, CR LF lines.
new_case nine_to_ten plain_9.chi=plain_9.chi plain_10.chi=plain_10.chi
run $'plain_9.chi\nplain_10.chi\n'
expect_status 0
expect_stdout ' Enter first Fit2D CHI datafile to process > First data set no:    9
 Enter last Fit2D CHI datafile to process > Process data nos.    9 to   10
 Processing file plain_9.chi
 Processing file plain_10.chi
'
expect_fxye plain_9.TLK plain_9.TLK
expect_fxye plain_10.TLK plain_10.TLK

# A missing file in the middle: reported, the others converted.
new_case missing lab6_1.chi=lab6_1.chi lab6_3.chi=lab6_3.chi
run $'lab6_1.chi lab6_3.chi\n'
expect_status 0
expect_stdout ' Enter first Fit2D CHI datafile to process > First data set no:    1
 Process data nos.    1 to    3
 Processing file lab6_1.chi
 Error opening file lab6_2.chi
 Processing file lab6_3.chi
'
expect_fxye lab6_1.TLK lab6_1.TLK
expect_fxye lab6_3.TLK lab6_3.TLK
expect_absent lab6_2.TLK

# The last number below the first: nothing to do.
new_case backwards lab6_1.chi=lab6_1.chi lab6_3.chi=lab6_3.chi
run $'lab6_3.chi lab6_1.chi\n'
expect_status 0
expect_stdout ' Enter first Fit2D CHI datafile to process > First data set no:    3
 Process data nos.    3 to    1
'
expect_absent lab6_1.TLK lab6_3.TLK

# Zero-padded numbers keep their width.
new_case padded scan_001.chi=lab6_1.chi scan_002.chi=lab6_2.chi
run $'scan_001.chi scan_002.chi\n'
expect_status 0
expect_stdout ' Enter first Fit2D CHI datafile to process > First data set no:    1
 Process data nos.    1 to    2
 Processing file scan_001.chi
 Processing file scan_002.chi
'
expect_fxye scan_001.TLK lab6_1.TLK
expect_fxye scan_002.TLK lab6_2.TLK

# An existing longer output file is replaced by the new, shorter one.
new_case overwrite lab6_1.chi=lab6_1.chi
head -c 100000 /dev/zero | tr '\0' 'x' > "$work/lab6_1.TLK"
run $'lab6_1.chi lab6_1.chi\n'
expect_status 0
expect_fxye lab6_1.TLK lab6_1.TLK

# Bad input: the runtime's error report naming the file and line; the file
# converted before stays, the bad one leaves no output, temporary or partial.
for bad in short:11 badnum:9; do
  fixture=${bad%%:*}
  line=${bad##*:}
  new_case "bad_$fixture" x_1.chi=lab6_1.chi x_2.chi="$fixture.chi" x_3.chi=lab6_3.chi
  echo stale > "$work/x_3.TLK"
  run $'x_1.chi x_3.chi\n'
  expect_status 2
  expect_stdout ' Enter first Fit2D CHI datafile to process > First data set no:    1
 Process data nos.    1 to    3
 Processing file x_1.chi
 Processing file x_2.chi
'
  grep -q "x_2.chi" "$work/stderr.txt" && grep -q "line $line" "$work/stderr.txt" ||
    fail "error report does not name x_2.chi and line $line: $(cat "$work/stderr.txt")"
  expect_fxye x_1.TLK lab6_1.TLK
  expect_absent x_2.TLK
  [ "$(cat "$work/x_3.TLK")" = stale ] || fail "x_3.TLK was touched after the error"
  leftovers=$(cd "$work" && ls | grep -c tmp)
  [ "$leftovers" -eq 0 ] || fail "temporary files left: $(ls "$work")"
done

# Names that are not a sequence: an error line, nothing converted, status 1.
while IFS='|' read -r answers message; do
  new_case "names_${answers//[^a-z0-9]/_}" lab6_1.chi=lab6_1.chi
  run "$answers"$'\n'
  expect_status 1
  grep -qxF -- "$message" "$work/stdout.txt" || fail "no line '$message' in: $(cat "$work/stdout.txt")"
  expect_absent lab6_1.TLK
done <<'CASES'
lab6_1.chi scan_3.chi| ERROR - first & last files not from sequence
lab61.chi lab6_3.chi| Enter first Fit2D CHI datafile to process > ERROR - no '_' before the '.' in the file name lab61.chi
lab6_1 lab6_3.chi| Enter first Fit2D CHI datafile to process > ERROR - no '.' in the file name lab6_1
CASES

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "all CHICVT end-to-end cases passed"
