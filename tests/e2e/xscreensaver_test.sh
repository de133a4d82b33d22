# The real XScreenSaver runs `drawing --root` as its one screen saver: after
# -activate its window shows the program's picture, changing; after
# -deactivate the program has ended with status 0 within a second and
# nothing of it is left. XScreenSaver refuses to run as root, so as root the
# test runs it as the unprivileged user nobody, in a home of its own.
# With DRAWING_E2E_MONITORS=2 the X server has two monitors of different
# sizes side by side: XScreenSaver covers each with a window of its own and
# starts one drawing per window; both monitors show a changing picture at
# their size and both programs end.
source "$(dirname "$0")/xscreensaver_lib.sh"

build=$1
xscreensaver_setup "$build"
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

xscreensaver_start
run_as_user xscreensaver-command -activate >/dev/null ||
  e2e_fail "xscreensaver does not answer: $(cat "$home/xscreensaver.log")"

saver_check_pictures "$home/xscreensaver.log"
run_as_user xscreensaver-command -deactivate >/dev/null
saver_check_ended
run_as_user xscreensaver-command -exit >/dev/null
e2e_wait_exit "$saver_pid" 5
saver_pid=""
! pgrep -f "$home/" >/dev/null || e2e_fail "something of the test is left running"
