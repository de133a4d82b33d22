# Hosted in the largest windows: SIGTERM during a start-up at 16384x16384
# ends the program at once with status 0 (making the screen-sized canvas and
# buffers takes seconds, with no frame yet to look at the signal, and the
# host that sends it may not wait that long); a window larger than that is
# refused with a line that says so.
source "$(dirname "$0")/lib.sh"

e2e_hosted_owner "$1" 0 0 16384 16384

"$build/drawing" --window-id "$window" 2>"$work/stderr" &
E2E_APP_PID=$!
sleep 0.5
kill -TERM "$E2E_APP_PID"
# The start-up alone takes about 10 s here; at once is well within 3.
e2e_wait_exit "$E2E_APP_PID" 3
[[ $E2E_EXIT_STATUS == 0 ]] || e2e_fail "status $E2E_EXIT_STATUS after SIGTERM during start-up"
[[ ! -s $work/stderr ]] || e2e_fail "said: $(cat "$work/stderr")"

owner resize 20000 16000
status=0
"$build/drawing" --window-id "$window" 2>"$work/stderr" || status=$?
[[ $status == 1 && $(cat "$work/stderr") == "drawing: the window is 20000x16000, larger than the 16384x16384 the program can draw in" ]] ||
  e2e_fail "a 20000x16000 window: status $status, said: $(cat "$work/stderr")"
echo "SIGTERM during a 16384x16384 start-up ended it at once; a larger window is refused"
