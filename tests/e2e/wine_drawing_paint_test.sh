#!/usr/bin/env bash
# drawing.exe under wine opens its full-screen Direct3D 9 device at the X
# server's mode, paints, and a held key ends it with status 0.
source "$(dirname "$0")/wine_lib.sh"
wine_setup "$1" 800x600
wine_start_drawing

geometry=$(xdotool getwindowgeometry "$E2E_WINDOW" | awk '/Geometry/ { print $2 }')
[[ $geometry == 800x600 ]] || e2e_fail "window is $geometry, not the screen's 800x600"
[[ $(xdotool getdisplaygeometry) == "800 600" ]] || e2e_fail "the X screen changed its mode"
echo "painted: $(wine_wait_painted 0.002)"
wine_expect_running "while painting"

wine_hold_key a
wine_expect_exit_ok
[[ ! -e $E2E_SAVED ]] || e2e_fail "a key other than S saved a picture"
echo PASS
