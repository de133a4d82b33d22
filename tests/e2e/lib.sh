# Shared helpers for the end-to-end tests: a private Xvfb per test, screen
# capture, and waiting for a process with a time limit.
set -euo pipefail

e2e_fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts Xvfb on a free display at the given size (and E2E_SCREEN_DEPTH, 24
# unless set); sets DISPLAY and E2E_XVFB_PID.
e2e_start_x() {
  local size=${1:-1024x768}
  command -v Xvfb >/dev/null || { echo "Xvfb missing" >&2; exit 77; }
  command -v xdotool >/dev/null || { echo "xdotool missing" >&2; exit 77; }
  local n
  for n in $(seq 90 140); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 "${size}x${E2E_SCREEN_DEPTH:-24}" -nolisten tcp +extension GLX +extension RANDR \
      >/dev/null 2>&1 &
    E2E_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      xdotool getdisplaygeometry >/dev/null 2>&1 && { trap e2e_stop_x EXIT; return 0; }
      sleep 0.1
    done
    kill "$E2E_XVFB_PID" 2>/dev/null || true
  done
  e2e_fail "could not start Xvfb"
}

# Starts an X server with two monitors of their own sizes, the primary one
# first: `e2e_start_two_monitors 640x480 800x600` puts the other monitor
# right of the primary, `... left-of` left of it (sizes from the X server's
# standard mode list). It is Xorg's dummy driver with two of its RandR
# outputs switched on, so clients see one wide root window and two RandR
# monitors (and two Xinerama heads), as on a desktop with two monitors;
# Debian's Xvfb reports one RandR monitor whatever it is told, and its
# Xinerama heads all lie at 0,0. The screen has room for the primary to
# grow to 1024 pixels wide (a full-screen program's mode). Sets DISPLAY,
# E2E_XVFB_PID and E2E_MONITORS (the primary's and the other's geometry in
# X's coordinates, "WxH+X+Y WxH+X+Y"). Needs root, as Xorg does with a
# configuration of its own.
e2e_start_two_monitors() {
  local primary=$1 other=$2 placement=${3:-right-of}
  command -v Xorg >/dev/null && [[ -e /usr/lib/xorg/modules/drivers/dummy_drv.so ]] ||
    { echo "Xorg or its dummy driver missing" >&2; exit 77; }
  [[ $EUID -eq 0 ]] || { echo "Xorg with a configuration of its own needs root" >&2; exit 77; }
  for tool in xdotool xrandr; do
    command -v $tool >/dev/null || { echo "$tool missing" >&2; exit 77; }
  done
  local width=$((${primary%x*} + ${other%x*}))
  local height=$((${primary#*x} > ${other#*x} ? ${primary#*x} : ${other#*x}))
  local primary_x=0 other_x=${primary%x*}
  if [[ $placement == left-of ]]; then
    primary_x=${other%x*}
    other_x=0
  fi
  E2E_XORG_DIR=$(mktemp -d)
  cat >"$E2E_XORG_DIR/xorg.conf" <<CONF
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual $((${other%x*} + (${primary%x*} > 1024 ? ${primary%x*} : 1024))) $((height > 768 ? height : 768))
  EndSubSection
EndSection
CONF
  E2E_MONITORS="$primary+$primary_x+0 $other+$other_x+0"
  local n i
  for n in $(seq 90 140); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xorg ":$n" -config "$E2E_XORG_DIR/xorg.conf" -configdir "$E2E_XORG_DIR" -noreset \
      -nolisten tcp -logfile "$E2E_XORG_DIR/log" >/dev/null 2>&1 &
    E2E_XVFB_PID=$!
    export DISPLAY=":$n"
    for i in $(seq 1 100); do
      if xdotool getdisplaygeometry >/dev/null 2>&1; then
        trap e2e_stop_x EXIT
        xrandr --addmode DUMMY1 "$other" &&
          xrandr --fb "${width}x$height" --output DUMMY0 --primary --mode "$primary" \
            --pos "${primary_x}x0" --output DUMMY1 --mode "$other" --pos "${other_x}x0" ||
          e2e_fail "could not switch on the second monitor"
        (($(xrandr --listmonitors | head -n 1 | awk '{ print $2 }') == 2)) ||
          e2e_fail "the X server does not report two monitors: $(xrandr --listmonitors)"
        return 0
      fi
      kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$E2E_XVFB_PID" 2>/dev/null || true
  done
  e2e_fail "could not start Xorg with two monitors: $(tail -n 5 "$E2E_XORG_DIR/log" 2>/dev/null)"
}

e2e_stop_x() {
  [[ -n "${E2E_APP_PID:-}" ]] && kill -KILL "$E2E_APP_PID" 2>/dev/null || true
  [[ -n "${E2E_XVFB_PID:-}" ]] && kill "$E2E_XVFB_PID" 2>/dev/null || true
  [[ -n "${E2E_XORG_DIR:-}" ]] && rm -rf "$E2E_XORG_DIR" || true
}

# Waits up to $2 seconds for pid $1 to end; sets E2E_EXIT_STATUS to its exit
# status, or "timeout". Call it in the process's parent shell, not in $(...):
# only the parent can collect the status.
e2e_wait_exit() {
  local pid=$1 limit=${2:-10} i
  E2E_EXIT_STATUS=timeout
  for i in $(seq 1 $((limit * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      E2E_EXIT_STATUS=0
      wait "$pid" || E2E_EXIT_STATUS=$?
      return 0
    fi
    sleep 0.1
  done
}

# Waits up to $2 seconds (default 60) for a visible window whose name
# matches the regular expression $1; prints its id. A single `xdotool search
# --sync` dies of BadWindow when a window it looks at goes away meanwhile
# (wine makes and drops windows while it starts), so each look is retried.
e2e_find_window() {
  local name=$1 limit=${2:-60} i window
  for i in $(seq 1 $((limit * 5))); do
    window=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1 || true)
    [[ -n $window ]] && { echo "$window"; return 0; }
    sleep 0.2
  done
  return 1
}

# Writes the whole X screen as a PNG/BMP/PPM (by extension) using ImageMagick.
e2e_capture() {
  /usr/bin/import -window root "$1"
}

# Fraction (0..1) of pixels in the given region of an image that are not black:
# e2e_painted_fraction file WxH+X+Y
e2e_painted_fraction() {
  /usr/bin/convert "$1" -crop "$2" +repage -colorspace gray -threshold 1% -format '%[fx:mean]' info:
}

# The start of a hosted-mode test: Xvfb at 640x480, a scratch directory
# ($work), and a window of another program (x11_test_window, X Y W H from the
# arguments after BUILD) taking commands on file descriptor 3 (see owner);
# sets build, work and window (its id).
e2e_hosted_owner() {
  build=$1
  local helper="$build/tests/e2e/x11_test_window"
  [[ -x "$build/drawing" && -x "$helper" ]] || { echo "no drawing or x11_test_window" >&2; exit 77; }
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
  e2e_start_x 640x480
  work=$(mktemp -d)
  trap 'e2e_stop_x; rm -rf "$work"' EXIT
  mkfifo "$work/commands"
  "$helper" "$2" "$3" "$4" "$5" <"$work/commands" >"$work/owner.out" &
  exec 3>"$work/commands"
  local i
  for i in $(seq 1 50); do [[ -s "$work/owner.out" ]] && break; sleep 0.1; done
  window=$(head -n 1 "$work/owner.out")
  [[ "$window" == 0x* ]] || e2e_fail "the test window did not start"
}

# Has the owner of the hosted test's window do a command ("resize W H",
# "destroy") and waits until it is done.
owner() {
  local before i
  before=$(grep -c done "$work/owner.out" || true)
  echo "$*" >&3
  for i in $(seq 1 50); do
    (($(grep -c done "$work/owner.out" || true) > before)) && return 0
    sleep 0.1
  done
  e2e_fail "the test window did not do: $*"
}
