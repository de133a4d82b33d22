# Debian's xsecurelock locks the screen with drawing as its saver, named in
# XSECURELOCK_SAVER as the README says: its saver_multiplex gives each
# monitor a window and starts one drawing per window (XSCREENSAVER_WINDOW),
# the picture is on the screen under the lock and changes, and unlocking
# ends every drawing with status 0. The test's authentication module accepts
# at the first key, so a key press is the user unlocking. With
# DRAWING_E2E_MONITORS=2 the X server has two monitors.
source "$(dirname "$0")/saver_host_lib.sh"

build=$1
[[ -x "$build/drawing" ]] || { echo "no $build/drawing" >&2; exit 77; }
command -v xsecurelock >/dev/null || { echo "xsecurelock missing" >&2; exit 77; }
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
saver_start_x

home=$(mktemp -d)
chmod 755 "$home"
cleanup() {
  [[ -n "${locker_pid:-}" ]] && kill "$locker_pid" 2>/dev/null || true
  e2e_stop_x
  rm -rf "$home"
}
trap cleanup EXIT
saver_write_wrapper "$build"
# xsecurelock takes an authentication module only by a name starting auth_.
printf '#!/bin/sh\necho accepted >>"%s/auth.log"\n' "$home" >"$home/auth_accept"
chmod 755 "$home/auth_accept"

XSECURELOCK_SAVER="$home/saver.sh" XSECURELOCK_AUTH="$home/auth_accept" \
  xsecurelock >"$home/xsecurelock.log" 2>&1 &
locker_pid=$!
saver_check_pictures "$home/xsecurelock.log"
kill -0 "$locker_pid" 2>/dev/null || e2e_fail "xsecurelock ended: $(cat "$home/xsecurelock.log")"

xdotool key space
e2e_wait_exit "$locker_pid" 10
[[ $E2E_EXIT_STATUS == 0 ]] ||
  e2e_fail "xsecurelock did not unlock (status $E2E_EXIT_STATUS): $(cat "$home/xsecurelock.log")"
locker_pid=""
[[ -s "$home/auth.log" ]] || e2e_fail "xsecurelock unlocked without asking its authentication module"
saver_check_ended
! pgrep -f "$home/" >/dev/null || e2e_fail "something of the test is left running"
