#!/usr/bin/env bash
# Makes a release folder and checks what users install from it: the Debian
# package (lintian, its contents, its programs run) and the Windows installer
# (installed, used and uninstalled under wine in prefixes of its own).
# Nothing is installed on this machine.
set -euo pipefail
cd "$(dirname "$0")/.."

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
release=$(scripts/release.sh "$out/release")
version=$(scripts/project-version.sh)
(cd "$release" && sha256sum --quiet -c SHA256SUMS) || { echo "FAIL: SHA256SUMS does not match" >&2; exit 1; }
for file in "drawing_${version}_$(dpkg --print-architecture).deb" drawing-setup.exe \
  windows-x86/drawing.exe windows-x86/drawing.scr windows-x86/drawing-render.exe \
  windows-x64/drawing.exe windows-x64/drawing.scr windows-x64/drawing-render.exe; do
  grep -q " $file\$" "$release/SHA256SUMS" || { echo "FAIL: the release lacks $file" >&2; exit 1; }
done
tests/packaging/debian_package_test.sh "$release/drawing_${version}_$(dpkg --print-architecture).deb"
tests/packaging/windows_installer_test.sh "$release/drawing-setup.exe"
