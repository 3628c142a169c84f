#!/usr/bin/env bash
# Installs what is missing, configures once and builds incrementally. Usage: build.sh [build-dir] [cmake args...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh"
dir=${1:-$here/build}
shift || true
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$here" -B "$dir" -G Ninja "$@"
elif [ $# -gt 0 ]; then
  cmake "$dir" "$@"
fi
cmake --build "$dir" -j "$(nproc)"
