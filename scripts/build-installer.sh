#!/usr/bin/env bash
# Builds the Windows installer drawing-setup.exe with NSIS from the 32- and
# 64-bit drawing.scr (cross-building the windows-i686 and windows-x64 presets
# first). The version is the project's.
#   scripts/build-installer.sh [OUTDIR]      default: build/packages
# Prints the installer's path.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh windows
version=$(scripts/project-version.sh)
out=${1:-build/packages}
mkdir -p "$out"
for preset in windows-i686 windows-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)" --target drawing-scr >/dev/null
done
makensis -V2 -NOCD -DVERSION="$version" -DSCR32="$PWD/build/windows-i686/drawing.scr" \
  -DSCR64="$PWD/build/windows-x64/drawing.scr" -DOUTFILE="$(realpath "$out")/drawing-setup.exe" \
  packaging/windows/drawing-setup.nsi >&2
echo "$out/drawing-setup.exe"
