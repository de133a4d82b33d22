#!/usr/bin/env bash
# Builds and checks what users install: the Debian package (lintian, its
# contents, its programs run) and the Windows installer (installed, used and
# uninstalled under wine in prefixes of its own). Nothing is installed on
# this machine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh windows
tests/packaging/debian_package_test.sh
tests/packaging/windows_installer_test.sh
