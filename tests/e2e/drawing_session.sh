# Helpers for the end-to-end tests of `drawing` on the SDL host, sourced after
# lib.sh (which starts the private Xvfb): the program in a fresh working
# directory, waiting until its full-screen window has the focus, keys, and how
# the program ended.
set -euo pipefail

E2E_SCREEN=${E2E_SCREEN:-640x480}
# Under the sanitizers: X11, D-Bus and the GL drivers keep allocations until
# the process ends, which LeakSanitizer would count against the program and
# turn its status 0 into 1. Our own code's leaks are checked by the unit tests
# of the same host on SDL's dummy driver.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# Starts the program in E2E_WORKDIR; sets E2E_APP_PID.
drawing_launch() {
  (cd "$E2E_WORKDIR" && exec "$1/drawing" 2>"$E2E_WORKDIR/stderr") &
  E2E_APP_PID=$!
}

# Waits up to $1 tenths of a second for the window to show with the focus.
drawing_wait_window() {
  local i window=""
  for i in $(seq 1 "$1"); do
    if ! kill -0 "$E2E_APP_PID" 2>/dev/null; then
      local status=0
      wait "$E2E_APP_PID" || status=$?
      cat "$E2E_WORKDIR/stderr" >&2
      e2e_fail "drawing ended with status $status before its window showed"
    fi
    window=$(xdotool search --onlyvisible --name '^drawing$' 2>/dev/null | head -n 1 || true)
    if [[ -n "$window" && "$(xdotool getwindowfocus 2>/dev/null || true)" == "$window" ]]; then
      return 0
    fi
    sleep 0.1
  done
  [[ -n "$window" ]]
}

# drawing_start BUILD_DIR: sets E2E_APP_PID and E2E_WORKDIR.
drawing_start() {
  local build=$1
  [[ -x "$build/drawing" ]] || { echo "no $build/drawing" >&2; exit 77; }
  E2E_WORKDIR=$(mktemp -d)
  trap 'drawing_stop' EXIT
  drawing_launch "$build"
  if ! drawing_wait_window 150; then
    # Now and then, on a loaded machine, the program runs its frames but its
    # window never reaches the fresh Xvfb; say so and try once more.
    echo "no window after 15 s (stderr: $(cat "$E2E_WORKDIR/stderr")); starting again" >&2
    kill -KILL "$E2E_APP_PID" 2>/dev/null || true
    wait "$E2E_APP_PID" 2>/dev/null || true
    drawing_launch "$build"
    drawing_wait_window 150 || e2e_fail "no window titled drawing shown"
  fi
  # The first frames: the keyboard and mouse are acquired once the focus came.
  sleep 1
}

# Ends what the test started and waits for the X server to be gone, so the
# next test never meets it on its way out.
drawing_stop() {
  e2e_stop_x
  [[ -n "${E2E_APP_PID:-}" ]] && wait "$E2E_APP_PID" 2>/dev/null
  [[ -n "${E2E_XVFB_PID:-}" ]] && wait "$E2E_XVFB_PID" 2>/dev/null
  rm -rf "${E2E_WORKDIR:-}"
  return 0
}

# A key held long enough for the program to see it in one of its frames.
drawing_press() {
  xdotool keydown "$1"
  sleep 0.4
  xdotool keyup "$1"
}

# Waits (in this shell, the program's parent) for the program to end.
drawing_expect_exit() {
  local expected=$1
  e2e_wait_exit "$E2E_APP_PID" "${2:-15}"
  [[ "$E2E_EXIT_STATUS" == "$expected" ]] ||
    e2e_fail "drawing ended with '$E2E_EXIT_STATUS', expected '$expected'"
  E2E_APP_PID=""
}

drawing_expect_running() {
  kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "drawing ended although it should run on"
}
