# Helpers for the end-to-end tests of `drawing` on the SDL host, sourced after
# lib.sh: start the program in a fresh working directory once Xvfb runs, wait
# until its full-screen window has the focus, press keys, check how it ended.
set -euo pipefail

E2E_SCREEN=${E2E_SCREEN:-640x480}
# Under the sanitizers: X11, D-Bus and the GL drivers keep allocations until
# the process ends, which LeakSanitizer would count against the program and
# turn its status 0 into 1. Our own code's leaks are checked by the unit tests
# of the same host on SDL's dummy driver.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# drawing_start BUILD_DIR: sets E2E_APP_PID and E2E_WORKDIR.
drawing_start() {
  local build=$1
  [[ -x "$build/drawing" ]] || { echo "no $build/drawing" >&2; exit 77; }
  E2E_WORKDIR=$(mktemp -d)
  trap 'e2e_stop_x; rm -rf "$E2E_WORKDIR"' EXIT
  (cd "$E2E_WORKDIR" && exec "$build/drawing") &
  E2E_APP_PID=$!
  local i window=""
  for i in $(seq 1 150); do
    kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "drawing ended before its window showed"
    window=$(xdotool search --onlyvisible --name '^drawing$' 2>/dev/null | head -n 1 || true)
    if [[ -n "$window" && "$(xdotool getwindowfocus 2>/dev/null || true)" == "$window" ]]; then
      break
    fi
    sleep 0.1
  done
  [[ -n "$window" ]] || e2e_fail "no window titled drawing"
  # The first frames: the keyboard and mouse are acquired once the focus came.
  sleep 1
}

# A key held long enough for the program to see it in one of its frames.
drawing_press() {
  xdotool keydown "$1"
  sleep 0.4
  xdotool keyup "$1"
}

# Waits (in this shell, the program's parent) for the program to end.
drawing_expect_exit() {
  local expected=$1 limit=${2:-15} status=timeout i
  for i in $(seq 1 $((limit * 10))); do
    if ! kill -0 "$E2E_APP_PID" 2>/dev/null; then
      status=0
      wait "$E2E_APP_PID" || status=$?
      break
    fi
    sleep 0.1
  done
  [[ "$status" == "$expected" ]] || e2e_fail "drawing ended with '$status', expected '$expected'"
  E2E_APP_PID=""
}

drawing_expect_running() {
  kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "drawing ended although it should run on"
}
