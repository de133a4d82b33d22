# SIGTERM during a hosted start-up at the largest size ends the program at
# once with status 0. Making the screen-sized canvas and buffers of a
# 16384x16384 window takes seconds, with no frame yet to look at the signal;
# the host that sends it may not wait that long.
source "$(dirname "$0")/lib.sh"

build=$1
helper="$build/tests/e2e/x11_test_window"
[[ -x "$build/drawing" && -x "$helper" ]] || { echo "no drawing or x11_test_window" >&2; exit 77; }
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
e2e_start_x 640x480
work=$(mktemp -d)
trap 'e2e_stop_x; [[ -n ${owner:-} ]] && kill "$owner"; rm -rf "$work"' EXIT

mkfifo "$work/commands"
"$helper" 0 0 16384 16384 <"$work/commands" >"$work/owner.out" &
owner=$!
exec 3>"$work/commands"
for i in $(seq 1 50); do [[ -s "$work/owner.out" ]] && break; sleep 0.1; done
window=$(head -n 1 "$work/owner.out")
[[ "$window" == 0x* ]] || e2e_fail "the test window did not start"

"$build/drawing" --window-id "$window" 2>"$work/stderr" &
E2E_APP_PID=$!
sleep 0.5
kill -TERM "$E2E_APP_PID"
# The start-up alone takes about 10 s here; at once is well within 3.
e2e_wait_exit "$E2E_APP_PID" 3
[[ $E2E_EXIT_STATUS == 0 ]] || e2e_fail "status $E2E_EXIT_STATUS after SIGTERM during start-up"
[[ ! -s $work/stderr ]] || e2e_fail "said: $(cat "$work/stderr")"
echo "SIGTERM during a 16384x16384 start-up ended it at once"
