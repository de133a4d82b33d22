# SIGTERM during a hosted start-up at the largest size ends the program at
# once with status 0. Making the screen-sized canvas and buffers of a
# 16384x16384 window takes seconds, with no frame yet to look at the signal;
# the host that sends it may not wait that long.
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
echo "SIGTERM during a 16384x16384 start-up ended it at once"
