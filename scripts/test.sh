#!/usr/bin/env bash
# Builds and runs every test: the release build (unit, scenario and end-to-end
# tests), the unit and scenario suites under AddressSanitizer + UBSan, and the
# Windows cross builds with their suites under wine, and the packages.
set -euo pipefail
cd "$(dirname "$0")/.."

# Everything the suites need, installed up front (install-deps names what it
# installs): the Windows part adds the i386 architecture and installs wine.
scripts/install-deps.sh windows
jobs=$(nproc)

for preset in release asan; do
  echo "== $preset" >&2
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs" -LE e2e
done

# The end-to-end tests drive the release build on real X servers; a window that
# a loaded machine shows late gets up to two more tries.
echo "== end-to-end" >&2
ctest --preset release -L e2e --repeat until-pass:3

echo "== windows" >&2
scripts/test-windows.sh

echo "== packages" >&2
scripts/test-packages.sh
