#!/usr/bin/env bash
# Builds the Debian package drawing_VERSION_ARCH.deb from a clean copy of the
# tree (the files git knows of, committed or not, and nothing under build/),
# so what was built or left in the work tree cannot leak into the package.
#   scripts/build-deb.sh [OUTDIR]      default: build/packages
# Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
version=$(scripts/project-version.sh)
# debian/changelog names the version of each package it describes: its latest
# entry must be the project's version, or the package would lie about it.
changelog_version=$(dpkg-parsechangelog -S Version)
if [[ "$changelog_version" != "$version" ]]; then
  echo "build-deb: debian/changelog's latest entry is $changelog_version but CMakeLists.txt says $version: add an entry for $version" >&2
  exit 1
fi
out=${1:-build/packages}
work=build/deb-tree
tree=$work/drawing-$version
rm -rf "$work"
mkdir -p "$tree" "$out"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  # Files deleted but not yet committed are still listed: skip them.
  git ls-files -z --cached --others --exclude-standard |
    tar --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -C "$tree" -xf -
else
  tar --exclude=./build -cf - . | tar -C "$tree" -xf -
fi
(cd "$tree" && dpkg-buildpackage -b --no-sign -j"$(nproc)" >../build.log 2>&1) || {
  tail -n 40 "$work/build.log" >&2
  echo "build-deb: dpkg-buildpackage failed; the whole log is $work/build.log" >&2
  exit 1
}
deb=drawing_${version}_$(dpkg --print-architecture).deb
mv "$work/$deb" "$out/"
echo "$out/$deb"
