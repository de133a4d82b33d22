#!/usr/bin/env bash
# Soak: the peak memory (maximum resident set) of drawing-render --size 8x8
# over growing frame counts. A program that runs for days must not grow, so
# the script fails when the longest run peaks more than SOAK_SLACK_KB above
# the shortest. Usage: scripts/soak-memory.sh [BUILD_DIR] [FRAMES...]
# (default build/release and 1000 10000 100000 1000000; the million frames
# take about a quarter of a minute).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
shift || true
counts=("$@")
[[ ${#counts[@]} -gt 0 ]] || counts=(1000 10000 100000 1000000)
slack_kb=${SOAK_SLACK_KB:-1024}
render=$build/drawing-render
[[ -x $render ]] || { echo "soak-memory: build $render first" >&2; exit 2; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
first=""
last=""
printf '%10s  %12s  %8s\n' frames "peak RSS KB" seconds
for frames in "${counts[@]}"; do
  /usr/bin/time -f '%M %e' -o "$scratch/time" \
    "$render" --size 8x8 --frames "$frames" --seed 1 --quiet --out "$scratch/out.bmp"
  read -r peak seconds < "$scratch/time"
  printf '%10s  %12s  %8s\n' "$frames" "$peak" "$seconds"
  first=${first:-$peak}
  last=$peak
done
if (( last - first > slack_kb )); then
  echo "soak-memory: peak grew by $(( last - first )) KB (more than $slack_kb KB)" >&2
  exit 1
fi
