# The real XScreenSaver runs `drawing --root` as its one screen saver: after
# -activate its window shows the program's picture, changing; after
# -deactivate the program has ended with status 0 within a second and
# nothing of it is left. XScreenSaver refuses to run as root, so as root the
# test runs it as the unprivileged user nobody, in a home of its own.
# With DRAWING_E2E_MONITORS=2 the X server has two monitors of different
# sizes side by side: XScreenSaver covers each with a window of its own and
# starts one drawing per window; both monitors show a changing picture at
# their size and both programs end.
source "$(dirname "$0")/saver_host_lib.sh"

build=$1
[[ -x "$build/drawing" ]] || { echo "no $build/drawing" >&2; exit 77; }
for tool in xscreensaver xscreensaver-command; do
  command -v "$tool" >/dev/null || { echo "$tool missing" >&2; exit 77; }
done
# X11's own allocations kept to the end are no leak of ours (see drawing_session.sh).
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
saver_start_x

# Everything the saver's user reads lives in a directory it owns: the home
# with ~/.xscreensaver and the wrapper.
home=$(mktemp -d)
as_user=()
if [[ $EUID -eq 0 ]]; then
  # setpriv execs the command itself, so its pid is xscreensaver's.
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
chmod 755 "$home"
run_as_user() { "${as_user[@]}" env HOME="$home" DISPLAY="$DISPLAY" "$@"; }
cleanup() {
  if [[ -n "${saver_pid:-}" ]]; then
    run_as_user xscreensaver-command -exit >/dev/null 2>&1 || kill "$saver_pid" 2>/dev/null || true
    wait "$saver_pid" 2>/dev/null || true
  fi
  e2e_stop_x
  rm -rf "$home"
}
trap cleanup EXIT
saver_write_wrapper "$build"
cat >"$home/.xscreensaver" <<SETTINGS
mode:		one
selected:	0
timeout:	1:00:00
lock:		False
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
programs:	"drawing" $home/saver.sh --root \n
SETTINGS
[[ $EUID -eq 0 ]] && chown -R nobody "$home"

run_as_user xscreensaver --no-splash >"$home/xscreensaver.log" 2>&1 &
saver_pid=$!
# Its first start on a fresh machine can take several seconds (caches are
# cold), so it gets up to 30 s, and a daemon that died fails at once.
for i in $(seq 1 150); do
  run_as_user xscreensaver-command -time >/dev/null 2>&1 && break
  kill -0 "$saver_pid" 2>/dev/null ||
    e2e_fail "xscreensaver ended at start: $(cat "$home/xscreensaver.log")"
  sleep 0.2
done
run_as_user xscreensaver-command -activate >/dev/null ||
  e2e_fail "xscreensaver does not answer: $(cat "$home/xscreensaver.log")"

saver_check_pictures "$home/xscreensaver.log"
run_as_user xscreensaver-command -deactivate >/dev/null
saver_check_ended
run_as_user xscreensaver-command -exit >/dev/null
e2e_wait_exit "$saver_pid" 5
saver_pid=""
! pgrep -f "$home/" >/dev/null || e2e_fail "something of the test is left running"
