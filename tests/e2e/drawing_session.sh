# Helpers for the end-to-end tests of `drawing` on the SDL host, sourced after
# lib.sh: a private Xvfb, the program in a fresh working directory, waiting
# until its full-screen window has the focus, keys, and how the program ended.
set -euo pipefail

E2E_SCREEN=${E2E_SCREEN:-640x480}
# Under the sanitizers: X11, D-Bus and the GL drivers keep allocations until
# the process ends, which LeakSanitizer would count against the program and
# turn its status 0 into 1. Our own code's leaks are checked by the unit tests
# of the same host on SDL's dummy driver.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# Starts Xvfb at the given size on a display number it picks itself (so two
# test runs at the same time cannot meet on one display); sets DISPLAY and
# E2E_XVFB_PID.
drawing_start_x() {
  local size=$1 numberFile i
  command -v Xvfb >/dev/null || { echo "Xvfb missing" >&2; exit 77; }
  command -v xdotool >/dev/null || { echo "xdotool missing" >&2; exit 77; }
  numberFile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp +extension GLX +extension RANDR \
    3>"$numberFile" >/dev/null 2>&1 &
  E2E_XVFB_PID=$!
  trap 'drawing_stop' EXIT
  for i in $(seq 1 100); do
    [[ -s "$numberFile" ]] && break
    sleep 0.1
  done
  [[ -s "$numberFile" ]] || e2e_fail "Xvfb did not start"
  export DISPLAY=":$(head -n 1 "$numberFile")"
  rm -f "$numberFile"
  for i in $(seq 1 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  e2e_fail "Xvfb on $DISPLAY does not answer"
}

# drawing_start BUILD_DIR: sets E2E_APP_PID and E2E_WORKDIR.
drawing_start() {
  local build=$1
  [[ -x "$build/drawing" ]] || { echo "no $build/drawing" >&2; exit 77; }
  E2E_WORKDIR=$(mktemp -d)
  trap 'drawing_stop' EXIT
  (cd "$E2E_WORKDIR" && exec "$build/drawing" 2>"$E2E_WORKDIR/stderr") &
  E2E_APP_PID=$!
  local i window=""
  for i in $(seq 1 300); do
    if ! kill -0 "$E2E_APP_PID" 2>/dev/null; then
      local status=0
      wait "$E2E_APP_PID" || status=$?
      cat "$E2E_WORKDIR/stderr" >&2
      e2e_fail "drawing ended with status $status before its window showed"
    fi
    window=$(xdotool search --onlyvisible --name '^drawing$' 2>/dev/null | head -n 1 || true)
    if [[ -n "$window" && "$(xdotool getwindowfocus 2>/dev/null || true)" == "$window" ]]; then
      break
    fi
    sleep 0.1
  done
  if [[ -z "$window" ]]; then
    cat "$E2E_WORKDIR/stderr" >&2
    xdotool search --name drawing >&2 || true
    e2e_fail "no window titled drawing shown"
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
