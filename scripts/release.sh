#!/usr/bin/env bash
# Makes the release folder: the Debian package, drawing-setup.exe, the bare
# Windows programs of both architectures and SHA256SUMS, and checks that
# every one of them reports the project's version.
#   scripts/release.sh [OUTDIR]      default: build/drawing-VERSION
# Prints the folder's path.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh windows
version=$(scripts/project-version.sh)
out=${1:-build/drawing-$version}
rm -rf "$out"
mkdir -p "$out"

scripts/build-deb.sh "$out" >/dev/null
scripts/build-installer.sh "$out" >/dev/null
for preset in windows-i686 windows-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)" --target drawing drawing-render drawing-scr >/dev/null
  folder=$out/${preset/i686/x86}
  mkdir -p "$folder"
  cp "build/$preset/drawing.exe" "build/$preset/drawing.scr" "build/$preset/drawing-render.exe" "$folder/"
done

# The file version of a Windows program or installer, from the fixed part of
# its version resource (after the signature 0xFEEF04BD: the version's two
# 32-bit halves, most significant first, each two 16-bit numbers).
windows_file_version() {
  local offset
  offset=$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$1" | head -n 1 | cut -d: -f1)
  [[ -n $offset ]] || return 0
  od -An -tu2 -j $((offset + 8)) -N 8 "$1" | awk '{ print $2 "." $1 "." $4 "." $3 }'
}
status=0
deb_version=$(dpkg-deb -f "$out/drawing_${version}_$(dpkg --print-architecture).deb" Version)
[[ $deb_version == "$version" ]] || { echo "release: the Debian package says $deb_version" >&2; status=1; }
while IFS= read -r file; do
  reported=$(windows_file_version "$file")
  [[ $reported == "$version.0" ]] || { echo "release: $file says '${reported:-no version}'" >&2; status=1; }
done < <(find "$out" -name '*.exe' -o -name '*.scr' | sort)
[[ $status == 0 ]] || exit 1

(cd "$out" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | sort | xargs sha256sum >SHA256SUMS)
echo "$out"
