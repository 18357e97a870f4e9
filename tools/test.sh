#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/install-deps.sh"
bash "$top/tools/build.sh" "$top/build"
cd "$top/build" && ctest --output-on-failure -j"$(nproc)"
