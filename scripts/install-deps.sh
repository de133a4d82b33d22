#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine, only what is
# missing, and says what it is about to install before it does.
#   scripts/install-deps.sh            build, tests, benchmarks, SDL2 and the X test tools
#   scripts/install-deps.sh windows    also the mingw-w64 cross compilers and wine
set -euo pipefail

# Hosted mode draws with Xlib, MIT-SHM and XRandR (SDL2's headers bring them
# too, but the program links them itself). xauth: xvfb-run needs it and the xvfb package only recommends it. The
# screen-saver tests start the real xscreensaver (and look for what is left
# running with procps' pgrep); the picture and film tests
# read our PNG files and video streams with ImageMagick and ffmpeg. strace
# shows that a save fsyncs its file and directory around the rename; xmllint
# and groff check the installed XScreenSaver entry and manual page. The
# screen-saver hosts are tested on two monitors too: Xorg's dummy driver
# switched to two RandR outputs with xrandr, under the real XScreenSaver and
# xsecurelock. debhelper and dpkg-dev build the Debian package, lintian
# checks it. scripts/bench-cpu.sh measures two of Debian's own hacks from
# xscreensaver-data beside the program.
packages=(build-essential cmake pkg-config libgtest-dev googletest libbenchmark-dev
          libsdl2-dev libx11-dev libxext-dev libxrandr-dev libpng-dev xvfb xauth xdotool x11-utils imagemagick
          xscreensaver xscreensaver-data procps ffmpeg strace libxml2-utils groff-base
          xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils xsecurelock
          debhelper dpkg-dev lintian)
if [[ "${1:-}" == "windows" ]]; then
  # Wine's Direct3D runs on OpenGL; with --no-install-recommends wine brings
  # no OpenGL stack, so it is named here for both architectures. Nor does it
  # bring XRandR and Xinerama: without them wine sets display modes through
  # XVidMode, which on a desktop of two monitors crashes the 32-bit wine in
  # the first mode change. NSIS makes the installer.
  packages+=(mingw-w64 wine wine64 wine32:i386 nsis
             libgl1 libglx-mesa0 libgl1-mesa-dri libxrandr2 libxinerama1
             libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 libxrandr2:i386 libxinerama1:i386)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
echo "install-deps: installing with apt-get: ${missing[*]}" >&2
if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "install-deps: adding the i386 architecture (dpkg --add-architecture i386) for 32-bit wine" >&2
    $sudo dpkg --add-architecture i386
  fi
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
