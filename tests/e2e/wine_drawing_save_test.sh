#!/usr/bin/env bash
# drawing.exe under wine: pressing and releasing S writes the Canvas as
# bild.bmp in the working directory (drawing.scr /s: in the Pictures folder),
# a 24-bit BMP of the screen's size, and the program goes on until another
# key ends it.
source "$(dirname "$0")/wine_lib.sh"
wine_setup "$1" 640x480
wine_start_drawing
wine_wait_painted 0.002 >/dev/null

wine_hold_key s
wine_wait_saved
sleep 1
wine_expect_running "after saving"

# 54 header bytes, then 480 rows of 640 x 3 bytes (already a multiple of 4).
size=$(stat -c %s "$E2E_SAVED")
[[ $size == $((54 + 640 * 3 * 480)) ]] || e2e_fail "bild.bmp has $size bytes"
header=$(od -A n -t x1 -N 30 "$E2E_SAVED" | tr -d ' \n')
[[ ${header:0:4} == 424d ]] || e2e_fail "bild.bmp does not start with BM"
[[ ${header:56:4} == 1800 ]] || e2e_fail "bild.bmp is not 24-bit"
painted=$(e2e_painted_fraction "$E2E_SAVED" 640x480+0+0)
awk -v f="$painted" 'BEGIN { exit !(f > 0) }' || e2e_fail "the saved Canvas is black"

wine_hold_key a
wine_expect_exit_ok
echo PASS
