#!/usr/bin/env bash
# drawing-render.exe under wine writes the same files, byte for byte, as the
# Linux build's drawing-render for the same size, seed, frames and input:
# canvas, the S key's bild.bmp and the video stream; the screen, as PNG
# (libpng on Linux, the Windows Imaging Component on Windows), has the same
# pixels as ImageMagick reads them.
# The Linux program: $DRAWING_NATIVE_RENDER, else the release build beside
# this build directory.
source "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
exe="$build/drawing-render.exe"
native="${DRAWING_NATIVE_RENDER:-$(dirname "$build")/release/drawing-render}"
[[ -f $exe ]] || { echo "no $exe" >&2; exit 77; }
[[ -x $native ]] || { echo "no Linux drawing-render at $native" >&2; exit 77; }
command -v wine >/dev/null || { echo "wine missing" >&2; exit 77; }
export WINEPREFIX="${WINEPREFIX:-$(dirname "$build")/wineprefix}" WINEDEBUG=-all

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# Particles added at the attractor for a while, a few small moves that do
# not end the run, S pressed and released.
cat >input.txt <<'SCRIPT'
5 button 1 down
40 button 1 up
60 move -3 -2
90 key 31 down
92 key 31 up
SCRIPT
arguments=(--size 320x200 --frames 400 --seed 12345 --input "$work/input.txt")

# Each run in its own directory: the S release saves bild.bmp there.
mkdir linux windows
outputs=(--out canvas.bmp --screen screen.png --video film.y4m --quiet)
(cd linux && "$native" "${arguments[@]}" "${outputs[@]}" >/dev/null) ||
  e2e_fail "drawing-render failed"
(cd windows && wine "$exe" "${arguments[@]}" "${outputs[@]}" >/dev/null 2>&1) ||
  e2e_fail "drawing-render.exe failed"

for name in canvas.bmp bild.bmp film.y4m; do
  [[ -s linux/$name && -s windows/$name ]] || e2e_fail "$name missing from a run"
  if ! cmp -s "linux/$name" "windows/$name"; then
    differing=$(cmp -l "linux/$name" "windows/$name" | wc -l)
    e2e_fail "$name from drawing-render.exe differs in $differing bytes"
  fi
done
for side in linux windows; do
  [[ "$(head -c 8 "$side/screen.png" | od -An -tx1 | tr -d ' ')" == 89504e470d0a1a0a ]] ||
    e2e_fail "the $side screen.png is no PNG file"
  convert "$side/screen.png" "rgb:$side/screen.rgb" || e2e_fail "ImageMagick cannot read the $side screen.png"
done
[[ $(stat -c %s linux/screen.rgb) == $((320 * 200 * 3)) ]] || e2e_fail "screen.png is not 320x200"
cmp -s linux/screen.rgb windows/screen.rgb || e2e_fail "screen.png from drawing-render.exe has other pixels"
echo PASS
