#!/usr/bin/env bash
# Cross-builds drawing for Windows with mingw-w64 and runs the Windows test
# suites (unit, scenario and the wine end-to-end tests) under wine.
#   scripts/test-windows.sh                 both presets, windows-i686 first
#   scripts/test-windows.sh windows-x64     only the named presets
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh windows
# The window and device tests need a desktop: wine's is an X display.
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
presets=("$@")
[[ ${#presets[@]} -eq 0 ]] && presets=(windows-i686 windows-x64)
jobs=$(nproc)

# One project-local prefix for every preset, made before CTest's timeouts run.
export WINEPREFIX="$PWD/build/wineprefix" WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
stop_wine() { wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT
# A persistent server with its services started apart from CTest's output
# pipes: each test then costs one process start instead of a wine boot.
wineserver -p 30
wine wineboot --init </dev/null >/dev/null 2>&1

# The Linux drawing-render that drawing-render.exe is compared with.
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs" --target drawing-render

# Every preset is built and tested even when an earlier one fails.
failed=()
for preset in "${presets[@]}"; do
  echo "== $preset" >&2
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  # The wine end-to-end tests race a real X server and wine's own start-up:
  # one at a time, and a failure gets two more tries (as on Linux).
  ctest --preset "$preset" -j "$jobs" -LE e2e || failed+=("$preset")
  ctest --preset "$preset" -L e2e --repeat until-pass:3 || failed+=("$preset end-to-end")
done
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "tests failed for: ${failed[*]}" >&2
  exit 1
fi
