# Holding the left button (which adds a particle every frame) for a second
# neither ends nor upsets the program; a key still ends it with status 0.
# That the button adds particles is checked on the headless host, where the
# swarm can be counted; on the screen the new boxes drown in the ribbons.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/drawing_session.sh"

e2e_start_x "$E2E_SCREEN"
drawing_start "$1"
xdotool mousedown 1
sleep 1.2
drawing_expect_running
xdotool mouseup 1
sleep 1
drawing_expect_running
drawing_press a
drawing_expect_exit 0
