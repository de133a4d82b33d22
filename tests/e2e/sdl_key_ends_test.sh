# A key press ends the program with status 0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/drawing_session.sh"

e2e_start_x "$E2E_SCREEN"
drawing_start "$1"
drawing_expect_running
drawing_press space
drawing_expect_exit 0
