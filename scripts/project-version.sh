#!/usr/bin/env bash
# Prints the project's version, kept in one place: the project() line of
# CMakeLists.txt. The packages, the installer and the release folder take it
# from here.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(drawing VERSION \([0-9][0-9.]*\) .*/\1/p' CMakeLists.txt)
[[ -n "$version" ]] || { echo "project-version: no version in CMakeLists.txt's project() line" >&2; exit 1; }
echo "$version"
