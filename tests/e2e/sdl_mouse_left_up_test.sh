# Moving the mouse left and up does not end the program; a key still does.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/drawing_session.sh"

e2e_start_x "$E2E_SCREEN"
drawing_start "$1"
for step in 1 2 3 4 5; do
  xdotool mousemove_relative -- -30 -20
  sleep 0.3
done
sleep 1.5
drawing_expect_running
drawing_press Escape
drawing_expect_exit 0
