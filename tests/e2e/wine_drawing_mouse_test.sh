#!/usr/bin/env bash
# drawing.exe under wine: moving the mouse left or up leaves it running,
# moving it to the right ends it with status 0.
source "$(dirname "$0")/wine_lib.sh"
wine_setup "$1" 1024x768
wine_start_drawing
wine_wait_painted 0.002 >/dev/null

xdotool mousemove_relative -- -60 0
sleep 0.5
xdotool mousemove_relative -- 0 -60
sleep 1.5
wine_expect_running "after moving the mouse left and up"

xdotool mousemove_relative -- 60 0
wine_expect_exit_ok
echo PASS
