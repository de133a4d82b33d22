#!/usr/bin/env bash
# drawing.scr under wine: while one /s runs, Windows may start /s again; the
# second one ends at once with status 0 and opens nothing.
export DRAWING_E2E_SCR=1
source "$(dirname "$0")/wine_lib.sh"
wine_setup "$1" 640x480
wine_start_drawing
wine_wait_painted 0.002 >/dev/null

status=0
timeout 20 wine "$E2E_BUILD/drawing.scr" /s || status=$?
[[ $status == 0 ]] || e2e_fail "the second /s ended with '$status'"
windows=$(xdotool search --onlyvisible --name '^drawing$' | wc -l)
[[ $windows == 1 ]] || e2e_fail "$windows windows titled drawing"
wine_expect_running "after the second /s"

wine_hold_key a
wine_expect_exit_ok
echo PASS
