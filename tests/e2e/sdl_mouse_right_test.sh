# Moving the mouse to the right ends the program with status 0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/drawing_session.sh"

e2e_start_x "$E2E_SCREEN"
drawing_start "$1"
xdotool mousemove_relative 40 0
drawing_expect_exit 0
