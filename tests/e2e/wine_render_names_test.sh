#!/usr/bin/env bash
# drawing-render.exe takes file names as the user typed them: the wide
# command line and the wide file calls, so a Greek or a Chinese name is
# written as it stands, and a full-width backslash stays a letter of the
# name rather than leading out of the directory.
source "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
exe="$build/drawing-render.exe"
[[ -f $exe ]] || { echo "no $exe" >&2; exit 77; }
command -v wine >/dev/null || { echo "wine missing" >&2; exit 77; }
export WINEPREFIX="${WINEPREFIX:-$(dirname "$build")/wineprefix}" WINEDEBUG=-all
# Wine reads the Linux command line in the locale's encoding.
export LC_ALL=C.UTF-8

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/up/here"
cd "$work/up/here"
for name in Ωmega.bmp 画.bmp '..＼..＼x.bmp'; do
  wine "$exe" --size 8x8 --frames 1 --seed 1 --out "$name" --screen "s-$name" \
    >/dev/null 2>"$work/err" || e2e_fail "$name: $(cat "$work/err")"
  [[ $(tr -d '\r' <"$work/err") == "drawing-render: wrote $name (8x8)"$'\n'"drawing-render: wrote s-$name (8x8)" ]] ||
    e2e_fail "$name: said $(cat "$work/err")"
  [[ $(head -c 2 "$name") == BM && $(head -c 2 "s-$name") == BM ]] ||
    e2e_fail "$name was not written under its own name: $(ls)"
done
# Nothing beside or above the working directory but what the test made.
[[ $(ls -A | wc -l) == 6 && $(ls "$work" | tr '\n' ' ') == "err up " && $(ls "$work/up") == here ]] ||
  e2e_fail "files landed elsewhere: $(cd "$work" && find .)"
echo PASS
