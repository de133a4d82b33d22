#!/usr/bin/env bash
# Builds the release preset and runs every benchmark program in
# build/release/bench; arguments go to each. DRAWING_BENCH_DIR names a
# directory of benchmark programs already built, which are run as they are.
set -euo pipefail
cd "$(dirname "$0")/.."

directory=${DRAWING_BENCH_DIR:-}
if [[ -z $directory ]]; then
  scripts/install-deps.sh
  cmake --preset release >/dev/null
  cmake --build --preset release -j "$(nproc)"
  directory=build/release/bench
fi
ran=0
for bench in "$directory"/*; do
  # Programs only: the directory also holds CMake's own.
  [[ -f $bench && -x $bench ]] || continue
  echo "== $(basename "$bench")"
  "$bench" "$@"
  ran=$((ran + 1))
done
if ((ran == 0)); then
  echo "bench.sh: no benchmark programs in $directory (Google Benchmark missing?)" >&2
  exit 1
fi
