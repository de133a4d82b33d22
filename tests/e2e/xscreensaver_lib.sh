# Helpers for the tests that start the real XScreenSaver. It refuses to run as
# root, so as root it runs as the unprivileged user nobody, in a home of its
# own ($home), which the tests make readable to that user.
source "$(dirname "${BASH_SOURCE[0]}")/saver_host_lib.sh"

# xscreensaver_setup BUILD_DIR: the tools, the X server (two monitors with
# DRAWING_E2E_MONITORS=2, see saver_start_x), the home and the cleanup.
xscreensaver_setup() {
  [[ -x "$1/drawing" ]] || { echo "no $1/drawing" >&2; exit 77; }
  local tool
  for tool in xscreensaver xscreensaver-command; do
    command -v "$tool" >/dev/null || { echo "$tool missing" >&2; exit 77; }
  done
  # X11's own allocations kept to the end are no leak of ours (see drawing_session.sh).
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
  saver_start_x
  home=$(mktemp -d)
  as_user=()
  if [[ $EUID -eq 0 ]]; then
    # setpriv execs the command itself, so its pid is xscreensaver's.
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
    chown nobody "$home"
  fi
  chmod 755 "$home"
  trap xscreensaver_cleanup EXIT
}

xscreensaver_cleanup() {
  if [[ -n "${saver_pid:-}" ]]; then
    run_as_user xscreensaver-command -exit >/dev/null 2>&1 || kill "$saver_pid" 2>/dev/null || true
    wait "$saver_pid" 2>/dev/null || true
  fi
  e2e_stop_x
  rm -rf "$home"
}

run_as_user() { "${as_user[@]}" env HOME="$home" DISPLAY="$DISPLAY" "$@"; }

# Starts the daemon on $home/.xscreensaver (saver_pid) and waits until it
# answers. Its first start on a fresh machine can take several seconds
# (caches are cold), so it gets up to 30 s, and a daemon that died fails at once.
xscreensaver_start() {
  run_as_user xscreensaver --no-splash >"$home/xscreensaver.log" 2>&1 &
  saver_pid=$!
  local i
  for i in $(seq 1 150); do
    run_as_user xscreensaver-command -time >/dev/null 2>&1 && return 0
    kill -0 "$saver_pid" 2>/dev/null ||
      e2e_fail "xscreensaver ended at start: $(cat "$home/xscreensaver.log")"
    sleep 0.2
  done
}
