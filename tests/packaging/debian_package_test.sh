#!/usr/bin/env bash
# The Debian package: built from a clean tree by scripts/build-deb.sh, clean
# under lintian, holding exactly the files of the screen-saver layout, and
# its programs run from where the package puts them. Nothing is installed.
#   tests/packaging/debian_package_test.sh [DEB]   the package made, or DEB
set -euo pipefail
cd "$(dirname "$0")/../.."

fail() { echo "FAIL: $*" >&2; exit 1; }

version=$(scripts/project-version.sh)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
deb=${1:-$(scripts/build-deb.sh "$out/packages")}
[[ "$(basename "$deb")" == "drawing_${version}_$(dpkg --print-architecture).deb" ]] ||
  fail "the package is named $(basename "$deb")"

# Errors and warnings fail; lintian's info and pedantic notes do not.
lintian --fail-on error,warning "$deb" >"$out/lintian.txt" 2>&1 ||
  fail "lintian: $(cat "$out/lintian.txt")"

[[ "$(dpkg-deb -f "$deb" Version)" == "$version" ]] || fail "the package's version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
# The shared libraries' packages, found by dpkg-shlibdeps.
for library in libc6 libsdl2 libx11 libpng; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

expected="./usr/bin/drawing
./usr/bin/drawing-render
./usr/bin/drawing-xscreensaver
./usr/libexec/xscreensaver/drawing
./usr/share/applications/drawing.desktop
./usr/share/doc/drawing/changelog.gz
./usr/share/doc/drawing/copyright
./usr/share/man/man1/drawing-render.1.gz
./usr/share/man/man1/drawing-xscreensaver.1.gz
./usr/share/man/man6/drawing.6.gz
./usr/share/xscreensaver/config/drawing.xml"
files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sort)
[[ "$files" == "$expected" ]] || fail "the package holds:
$files
instead of:
$expected"

dpkg-deb -x "$deb" "$out/root"
root=$out/root
for program in usr/bin/drawing usr/libexec/xscreensaver/drawing usr/bin/drawing-render; do
  reported=$("$root/$program" --version)
  [[ "$reported" == "$(basename "$program") $version" ]] || fail "$program --version says: $reported"
done
"$root/usr/bin/drawing-render" --quiet --size 96x64 --frames 120 --seed 7 --out "$out/picture.png" ||
  fail "the packaged drawing-render failed"
[[ "$(identify -format '%m %wx%h' "$out/picture.png")" == "PNG 96x64" ]] ||
  fail "the packaged drawing-render did not write a 96x64 PNG"
# The same picture as the one the project's own build makes.
if [[ -x build/release/drawing-render ]]; then
  build/release/drawing-render --quiet --size 96x64 --frames 120 --seed 7 --out "$out/reference.png"
  cmp -s "$out/picture.png" "$out/reference.png" ||
    fail "the packaged drawing-render's picture differs from build/release's"
fi
echo "debian package: $deb is clean and runs"
