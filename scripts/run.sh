#!/usr/bin/env bash
# Builds and starts Hygrova.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/build.sh" "$here/build"
exec "$here/build/Korvant/Hygrova/Hygrova" "$@"
