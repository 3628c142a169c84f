#!/usr/bin/env bash
# Fails when a C++ source differs from the repository's .clang-format style.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests bench tools -name '*.cpp' -o -name '*.h')
# shellcheck disable=SC2086
clang-format --dry-run --Werror $files
