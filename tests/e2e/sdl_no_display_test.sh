# No display, or one that does not answer: one line and status 1 within
# seconds, instead of running for ever on a driver that shows nothing.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/drawing_session.sh"

E2E_WORKDIR=$(mktemp -d)
# A private runtime directory: SDL's Wayland attempt then fails quietly.
export XDG_RUNTIME_DIR=$E2E_WORKDIR
unset SDL_VIDEODRIVER WAYLAND_DISPLAY

# Runs drawing and expects status 1 within 5 seconds and one line naming the screen.
expect_one_line_and_status_one() {
  drawing_launch "$1"
  e2e_wait_exit "$E2E_APP_PID" 5
  [[ $E2E_EXIT_STATUS == 1 ]] || e2e_fail "$2: status $E2E_EXIT_STATUS, expected 1"
  E2E_APP_PID=""
  local lines
  lines=$(wc -l < "$E2E_WORKDIR/stderr")
  grep -q '^drawing: cannot open the screen: ' "$E2E_WORKDIR/stderr" && [[ $lines == 1 ]] ||
    e2e_fail "$2: expected one line, got: $(cat "$E2E_WORKDIR/stderr")"
}

unset DISPLAY
expect_one_line_and_status_one "$1" "no DISPLAY"
export DISPLAY=:1999
expect_one_line_and_status_one "$1" "a display nobody serves"

e2e_start_x 640x480
kill -STOP "$E2E_XVFB_PID"
trap 'kill -CONT "$E2E_XVFB_PID" 2>/dev/null; e2e_stop_x' EXIT
expect_one_line_and_status_one "$1" "a display that does not answer"
