#!/usr/bin/env bash
# Builds and runs every test: the release build (unit, scenario and end-to-end
# tests) and the same suites under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

for preset in release asan; do
  echo "== $preset" >&2
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done
