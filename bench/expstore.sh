#!/usr/bin/env bash
# Times the experiment record store on a file of 30,000 records: building the
# index, 100,000 exact-key reads and 10,000 prefix reads (target: under 0.3 s
# together). The driver makes its input in a scratch directory.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" -j2 --target expstore_bench >/dev/null
"$top/build/bin/expstore_bench" "${1:-30000}" "${2:-100000}" "${3:-10000}"
