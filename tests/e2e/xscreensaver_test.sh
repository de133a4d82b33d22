# The real XScreenSaver runs `drawing --root` as its one screen saver: after
# -activate its window shows the program's picture, changing; after
# -deactivate the program has ended with status 0 within a second and
# nothing of it is left. XScreenSaver refuses to run as root, so as root the
# test runs it as the unprivileged user nobody, in a home of its own.
source "$(dirname "$0")/xscreensaver_lib.sh"

build=$1
xscreensaver_setup "$build"

# Everything the saver's user reads lives in its home: ~/.xscreensaver, a
# copy of the program (the build directory may not be readable to that user)
# and a wrapper that keeps the program's exit status and end time for the
# test, handing the signals on.
install -m 755 "$build/drawing" "$home/drawing"
cat >"$home/saver.sh" <<WRAPPER
#!/bin/bash
"$home/drawing" "\$@" 2>"$home/drawing.err" &
child=\$!
echo \$child >"$home/drawing.pid"
trap 'date +%s.%N >"$home/signalled"; kill -TERM \$child' TERM INT HUP
# A signal's trap cuts a wait short; the last wait returns the child's status.
wait \$child
while kill -0 \$child 2>/dev/null; do wait \$child; done
wait \$child
status=\$?
echo "\$status \$(date +%s.%N)" >"$home/ended"
WRAPPER
chmod 755 "$home/saver.sh"
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

# The picture is there and changes (XScreenSaver's own blank is black).
painted=0
for i in $(seq 1 20); do
  sleep 1
  [[ -s "$home/drawing.pid" ]] || continue
  e2e_capture "$home/first.png"
  painted=$(e2e_painted_fraction "$home/first.png" 640x480+0+0)
  awk -v p="$painted" 'BEGIN { exit !(p > 0.03) }' && break
done
[[ -s "$home/drawing.pid" ]] || e2e_fail "xscreensaver did not start drawing: $(cat "$home/xscreensaver.log")"
sleep 1
e2e_capture "$home/second.png"
changed=$(/usr/bin/compare -metric AE "$home/first.png" "$home/second.png" null: 2>&1 || true)
echo "painted $painted of the screen; $changed pixels changed in a second"
awk -v p="$painted" 'BEGIN { exit !(p > 0.03) }' || e2e_fail "the saver's window is not painted"
awk -v c="$changed" 'BEGIN { exit !(c > 100) }' || e2e_fail "the picture does not change"

pid=$(cat "$home/drawing.pid")
run_as_user xscreensaver-command -deactivate >/dev/null
for i in $(seq 1 30); do
  [[ -s "$home/ended" ]] && break
  sleep 0.1
done
[[ -s "$home/ended" ]] || e2e_fail "drawing still runs 3 s after -deactivate"
read -r status ended <"$home/ended"
signalled=$(cat "$home/signalled")
echo "drawing ended with status $status, $(awk -v a="$signalled" -v b="$ended" 'BEGIN { print b - a }') s after the signal"
[[ "$status" == 0 ]] || e2e_fail "drawing ended with status $status: $(cat "$home/drawing.err")"
awk -v a="$signalled" -v b="$ended" 'BEGIN { exit !(b - a < 1) }' ||
  e2e_fail "drawing took more than a second to end"
! kill -0 "$pid" 2>/dev/null || e2e_fail "drawing is still running"
! pgrep -f "$home/drawing" >/dev/null || e2e_fail "a drawing process is left running"
run_as_user xscreensaver-command -exit >/dev/null
e2e_wait_exit "$saver_pid" 5
saver_pid=""
! pgrep -f "$home/" >/dev/null || e2e_fail "something of the test is left running"
