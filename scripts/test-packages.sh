#!/usr/bin/env bash
# Builds and checks what users install: the Debian package (lintian, its
# contents, its programs run). Nothing is installed on this machine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
tests/packaging/debian_package_test.sh
