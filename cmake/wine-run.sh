#!/usr/bin/env bash
# Runs a Windows program under wine on behalf of CTest: a project-local prefix
# unless WINEPREFIX is set, no wine diagnostics, and the console's CR LF line
# ends turned into LF so that test listings read as they do on Linux.
set -o pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/../build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
mkdir -p "$WINEPREFIX"
wine "$@" | tr -d '\r'
exit "${PIPESTATUS[0]}"
