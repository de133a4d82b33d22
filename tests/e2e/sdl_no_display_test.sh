# No display, one that does not answer, or a screen whose pixels the program
# cannot draw in: one line naming the cause and status 1 within seconds,
# instead of running for ever on a driver that shows nothing, and none of
# SDL's own lines (its Wayland attempt complains of XDG_RUNTIME_DIR).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/drawing_session.sh"

E2E_WORKDIR=$(mktemp -d)
unset SDL_VIDEODRIVER WAYLAND_DISPLAY XDG_RUNTIME_DIR

# Runs drawing and expects status 1 within 5 seconds and exactly the line
# "drawing: cannot open the screen: $2".
expect_line_and_status_one() {
  drawing_launch "$1"
  e2e_wait_exit "$E2E_APP_PID" 5
  [[ $E2E_EXIT_STATUS == 1 ]] || e2e_fail "$2: status $E2E_EXIT_STATUS, expected 1"
  E2E_APP_PID=""
  [[ $(cat "$E2E_WORKDIR/stderr") == "drawing: cannot open the screen: $2" ]] ||
    e2e_fail "expected only '$2', got: $(cat "$E2E_WORKDIR/stderr")"
}

unset DISPLAY
expect_line_and_status_one "$1" "no X display (DISPLAY is not set)"
export DISPLAY=:1999
expect_line_and_status_one "$1" "the X display ':1999' does not answer"
export DISPLAY=$':1999\e[2J'
expect_line_and_status_one "$1" "the X display ':1999\\x1b[2J' does not answer"

# A full screen at depth 8 and 30: pixels none of the device's formats.
for depth in 8 30; do
  E2E_SCREEN_DEPTH=$depth e2e_start_x 640x480
  expect_line_and_status_one "$1" "the screen's pixel format (a depth like 8 or 30) is none the program can draw in; it needs a 16-, 24- or 32-bit screen"
  e2e_stop_x
done

e2e_start_x 640x480
kill -STOP "$E2E_XVFB_PID"
trap 'kill -CONT "$E2E_XVFB_PID" 2>/dev/null; e2e_stop_x' EXIT
expect_line_and_status_one "$1" "the X display '$DISPLAY' does not answer"
