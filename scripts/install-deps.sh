#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine, only what is missing.
#   scripts/install-deps.sh            build, tests, benchmarks, SDL2 and the X test tools
#   scripts/install-deps.sh windows    also the mingw-w64 cross compilers and wine
set -euo pipefail

packages=(build-essential cmake pkg-config libgtest-dev googletest libbenchmark-dev
          libsdl2-dev xvfb xdotool x11-utils imagemagick)
if [[ "${1:-}" == "windows" ]]; then
  packages+=(mingw-w64 wine wine64 wine32:i386)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
  dpkg --print-foreign-architectures | grep -q i386 || $sudo dpkg --add-architecture i386
fi
echo "installing: ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
