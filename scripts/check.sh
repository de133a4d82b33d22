#!/usr/bin/env bash
# The quick developer loop: builds the release preset and runs its unit and
# scenario tests. It installs nothing and needs no X server, wine or network
# (the first build needs the packages scripts/install-deps.sh names).
#   scripts/check.sh                  everything but the end-to-end and fuzz tests
#   scripts/check.sh -L unit-draw     any further ctest arguments, e.g. one folder
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
ctest --preset release -j "$(nproc)" -LE 'e2e|fuzz' "$@"
