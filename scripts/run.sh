#!/usr/bin/env bash
# Builds drawing (release) and starts it full screen. Any key or moving the mouse
# right or down ends it; releasing S saves the picture as bild.bmp.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target drawing
exec build/release/drawing
