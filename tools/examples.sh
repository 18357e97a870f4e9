#!/usr/bin/env bash
# Installs what is missing, builds, and runs the programs on the examples
# shipped under examples/ (in a scratch copy, so the tree stays clean).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/install-deps.sh"
bash "$top/tools/build.sh" "$top/build"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$top/examples/." "$work/"
export PATH="$top/build/bin:$PATH"
for job in "$top"/examples/*/run.sh; do
  [ -e "$job" ] || continue
  name=$(basename "$(dirname "$job")")
  echo "=== $name"
  (cd "$work/$name" && bash ./run.sh)
done
