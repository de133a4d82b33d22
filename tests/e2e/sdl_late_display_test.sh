# An X server refuses connections for a moment while it resets, as it does
# when its last client leaves (drawing started again at once after another
# ended, on a fresh Xvfb, failed now and then). drawing tries again for a
# little while: started a moment before its X server is up, it shows its
# window once the server answers.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/drawing_session.sh"

[[ -x "$1/drawing" ]] || { echo "no $1/drawing" >&2; exit 77; }
command -v Xvfb >/dev/null || { echo "Xvfb missing" >&2; exit 77; }
unset SDL_VIDEODRIVER WAYLAND_DISPLAY
for n in $(seq 141 190); do
  [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || break
done
export DISPLAY=":$n"
E2E_WORKDIR=$(mktemp -d)
trap 'drawing_stop' EXIT
drawing_launch "$1"
sleep 0.3
Xvfb "$DISPLAY" -screen 0 640x480x24 -nolisten tcp +extension GLX +extension RANDR >/dev/null 2>&1 &
E2E_XVFB_PID=$!
drawing_wait_window 100 || e2e_fail "no window: $(cat "$E2E_WORKDIR/stderr")"
sleep 1
drawing_press Escape
drawing_expect_exit 0
echo "started before its display, drawing showed its window once the display answered"
