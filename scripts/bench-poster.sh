#!/usr/bin/env bash
# Time and peak memory of drawing-render at poster sizes, writing the canvas
# and the last screen as PNG and as BMP.
#   scripts/bench-poster.sh                 7680x4320 and 16384x16384
#   scripts/bench-poster.sh 3840x2160 ...   other sizes
# Needs about 5 GB of free memory for 16384x16384. Figures: docs/performance.md.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release >/dev/null
cmake --build --preset release --target drawing-render -j2 >/dev/null
render=$PWD/build/release/drawing-render
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sizes=("$@")
[[ ${#sizes[@]} -gt 0 ]] || sizes=(7680x4320 16384x16384)
frames=${POSTER_FRAMES:-10}
printf '%-12s %-4s %8s %12s %10s %10s\n' size kind seconds "peak MB" "canvas MB" "screen MB"
for size in "${sizes[@]}"; do
  w=${size%x*} h=${size#*x}
  for kind in png bmp; do
    /usr/bin/time -f '%e %M' -o "$work/time" "$render" --quiet --size "$size" \
      --frames "$frames" --seed 7 --out "$work/canvas.$kind" --screen "$work/screen.$kind"
    read -r seconds peak_kb <"$work/time"
    awk -v size="$size" -v kind="$kind" -v s="$seconds" -v kb="$peak_kb" \
      -v c="$(stat -c %s "$work/canvas.$kind")" -v k="$(stat -c %s "$work/screen.$kind")" \
      'BEGIN { printf "%-12s %-4s %8s %12d %10.1f %10.1f\n", size, kind, s, kb / 1024, c / 1048576, k / 1048576 }'
  done
  echo "  one screen-sized 32-bit buffer: $((w * h * 4 / 1048576)) MB"
done
