#!/usr/bin/env bash
# Builds the record-store fuzz target with libFuzzer (clang) into build-fuzz/
# and, given a number of seconds, runs it that long on a scratch corpus.
# Without clang the same target runs over a generated corpus as the ctest
# expstore_fuzz_corpus.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$top/build-fuzz
mkdir -p "$out"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I"$top/lib" \
  "$top/fuzz/expstore_fuzz.cpp" "$top"/lib/expfile/*.cpp "$top"/lib/terminal/*.cpp \
  -o "$out/expstore_fuzz"
echo "built $out/expstore_fuzz"
if [[ -n "${1:-}" ]]; then
  corpus=$(mktemp -d)
  trap 'rm -rf "$corpus"' EXIT
  "$out/expstore_fuzz" -max_total_time="$1" -max_len=4096 "$corpus"
fi
