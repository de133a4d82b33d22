#!/usr/bin/env bash
# Builds drawing and drawing-render (release), so the README's later commands
# (drawing-render, cmake --install) work, and starts drawing full screen. Any
# key or moving the mouse right or down ends it; releasing S saves the
# picture as bild.bmp. Arguments go to drawing (try --help).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target drawing drawing-render
exec build/release/drawing "$@"
