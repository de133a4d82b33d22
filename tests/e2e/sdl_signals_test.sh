# SIGTERM, SIGINT and SIGHUP (the terminal closing) end the program in order
# with status 0: the window goes.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/drawing_session.sh"

e2e_start_x "$E2E_SCREEN"
for signal in TERM INT HUP; do
  drawing_start "$1"
  drawing_expect_running
  kill -"$signal" "$E2E_APP_PID"
  drawing_expect_exit 0
  if xdotool search --onlyvisible --name '^drawing$' >/dev/null 2>&1; then
    e2e_fail "the window is still shown after SIG$signal"
  fi
  rm -rf "$E2E_WORKDIR"
done
