#!/usr/bin/env bash
# Makes again the pictures the README opens with (docs/pictures/*.png):
# drawing-render with fixed seeds, so the same build makes the same files.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target drawing-render >/dev/null
mkdir -p docs/pictures
# seed, frames: a young drawing with black still showing, and an older one.
for picture in "11 600" "7 600" "7 1500"; do
  read -r seed frames <<<"$picture"
  build/release/drawing-render --quiet --size 480x270 --seed "$seed" --frames "$frames" \
    --out "docs/pictures/seed-$seed-frames-$frames.png"
done
