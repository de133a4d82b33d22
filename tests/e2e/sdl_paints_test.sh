# After a few seconds the screen holds the swarm's ribbons: painted pixels
# around the swarm, starting from the top-left corner where it starts.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/drawing_session.sh"

e2e_start_x "$E2E_SCREEN"
drawing_start "$1"
# The attractor first rests 49 frames at its start; a slow (sanitizer) build
# needs a while for those, so look again until the ribbons are there.
shot="$E2E_WORKDIR/screen.png"
for attempt in $(seq 1 12); do
  sleep 2
  drawing_expect_running
  e2e_capture "$shot"
  painted=$(e2e_painted_fraction "$shot" "$E2E_SCREEN+0+0")
  awk -v p="$painted" 'BEGIN { exit !(p > 0.03) }' && break
done
corner=$(e2e_painted_fraction "$shot" 64x64+0+0)
# The bounding box of everything painted, and how much of it is painted.
box=$(/usr/bin/convert "$shot" -colorspace gray -threshold 1% -format '%@' info:)
inside=$(e2e_painted_fraction "$shot" "$box")
echo "painted $painted, top-left corner $corner, inside $box: $inside"
awk -v p="$painted" 'BEGIN { exit !(p > 0.03) }' || e2e_fail "too little painted: $painted"
awk -v c="$corner" 'BEGIN { exit !(c > 0.005) }' || e2e_fail "nothing painted at the start corner"
awk -v i="$inside" 'BEGIN { exit !(i > 0.1) }' || e2e_fail "the painted region is sparse: $inside"

drawing_press a
drawing_expect_exit 0
