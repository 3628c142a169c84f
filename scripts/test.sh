#!/usr/bin/env bash
# Builds everything and runs every test (CTest), headless.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/build.sh" "$here/build"
cd "$here/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 600
