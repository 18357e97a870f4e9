#!/usr/bin/env bash
# Configures and builds into build/ (or the directory given as $1 with extra
# CMake arguments after it). The build log is shown only when the build fails.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$top/build}
shift || true
mkdir -p "$dir"
log="$dir/build.log"
echo "Building in $dir"
if ! { cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" && cmake --build "$dir" -j"$(nproc)"; } > "$log" 2>&1; then
  cat "$log"
  echo "Build failed (log: $log)"
  exit 1
fi
grep -E "warning:" "$log" || true
