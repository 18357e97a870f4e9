#!/usr/bin/env bash
# A run recorded with @M (left unterminated: the file keeps every answer) replays with @R to the same output file and the same
# answers shown on the terminal.
set -u
program=$1
fixture=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$fixture"/*.RFL "$work/"
cd "$work"
printf '@M\nrun.mac\ndemo.RFL ! the first list\nsecond.RFL\n\n' | timeout 60 "$program" > typed.out 2>&1 || exit 1
mv demo.TXT typed.TXT
printf '@R\nrun.mac\n' | timeout 60 "$program" > replayed.out 2>&1 || exit 1
status=0
cmp typed.TXT demo.TXT || { echo "replayed output differs"; status=1; }
[ "$(cat run.mac)" = "$(printf 'demo.RFL ! the first list\nsecond.RFL\n ')" ] || { echo "unexpected macro file:"; cat run.mac; status=1; }
grep -q "^ Enter name of first .RFL file to read > demo.RFL ! the first list$" replayed.out || { echo "replayed answer not echoed"; cat replayed.out; status=1; }
exit $status
