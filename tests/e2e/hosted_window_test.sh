# Hosted mode in a window another program made and keeps its input on:
# `drawing --window-id` paints that window at its size and nothing outside
# it, ignores keys, buttons and moves, follows a resize, puts back what a
# window over it took away once that window goes (though only what changes
# is put each frame), and ends with status 0 and a quiet stderr when the
# window is destroyed.
source "$(dirname "$0")/lib.sh"

# The owner: a 320x200 window at (40, 30), its commands on a pipe.
e2e_hosted_owner "$1" 40 30 320 200
(cd "$work" && exec "$build/drawing" --window-id "$window" 2>"$work/stderr") &
E2E_APP_PID=$!

# Painted fraction of the window's area (w x h at 40, 30) once there is some.
painted_after() {
  local area=$1 i
  for i in $(seq 1 15); do
    sleep 1
    kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "drawing ended: $(cat "$work/stderr")"
    e2e_capture "$work/screen.png"
    local painted
    painted=$(e2e_painted_fraction "$work/screen.png" "$area")
    if awk -v p="$painted" 'BEGIN { exit !(p > 0.03) }'; then
      echo "$painted"
      return 0
    fi
  done
  echo 0
}
inside=$(painted_after 320x200+40+30)
right=$(e2e_painted_fraction "$work/screen.png" 260x480+380+0)
below=$(e2e_painted_fraction "$work/screen.png" 640x250+0+230)
echo "window $window: painted $inside inside, $right right of it, $below below it"
awk -v p="$inside" 'BEGIN { exit !(p > 0.03) }' || e2e_fail "the window is not painted"
awk -v r="$right" -v b="$below" 'BEGIN { exit !(r == 0 && b == 0) }' ||
  e2e_fail "painted outside the window"

# The window's owner has the input: none of this ends the program or saves.
xdotool mousemove 200 130 click 1 mousemove 500 400 mousemove 10 10
xdotool key --window "$window" a s Escape
sleep 1
kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "input in the window ended the program"
[[ ! -e "$work/bild.bmp" ]] || e2e_fail "the S key saved although the host owns the input"

# A bigger window: the drawing goes on at the new size, out to its edges.
owner resize 560 400
grown=$(painted_after 240x200+360+230)
echo "after the resize to 560x400: painted $grown of the new part"
awk -v p="$grown" 'BEGIN { exit !(p > 0.03) }' || e2e_fail "the new part of the window stays black"

# A dialog over part of it goes away: what it covered is drawn again, not
# left as the dialog's magenta (the window has no background of its own).
owner cover 100 100 200 150
sleep 1
owner uncover
sleep 1
e2e_capture "$work/screen.png"
left=$(/usr/bin/convert "$work/screen.png" -crop 200x150+100+100 +repage -fill black \
  +opaque '#FF00FF' -fill white -opaque '#FF00FF' -colorspace gray -format '%[fx:mean]' info:)
echo "after the dialog went: $left of its place still magenta"
awk -v m="$left" 'BEGIN { exit !(m == 0) }' || e2e_fail "what the dialog covered was not drawn again"

owner destroy
e2e_wait_exit "$E2E_APP_PID" 2
E2E_APP_PID=""
[[ "$E2E_EXIT_STATUS" == 0 ]] || e2e_fail "after the window went, drawing ended with '$E2E_EXIT_STATUS'"
[[ ! -s "$work/stderr" ]] || e2e_fail "drawing reported: $(cat "$work/stderr")"
exec 3>&-
