#!/usr/bin/env bash
# drawing.scr under wine: /c and no argument show the small settings dialog,
# which Enter closes with status 0, and never the drawing; /a does nothing;
# a malformed command line ends with status 2 and one line naming it.
source "$(dirname "$0")/wine_lib.sh"
wine_setup "$1" 800x600
wine_move_pictures "$E2E_WORK/pictures"  # the dialog names it; no stale folder made
scr=$E2E_BUILD/drawing.scr
[[ -f $scr ]] || { echo "no $scr" >&2; exit 77; }

expect_malformed() {
  local status=0
  timeout 30 wine "$scr" "$@" >/dev/null 2>"$E2E_WORK/error.log" || status=$?
  [[ $status == 2 ]] || e2e_fail "drawing.scr $* ended with '$status', not 2"
  grep -q "^drawing.scr: " "$E2E_WORK/error.log" || e2e_fail "drawing.scr $* said nothing"
}
expect_malformed /p
expect_malformed /p 0
expect_malformed /p 12345
expect_malformed /x
timeout 30 wine "$scr" /a 12345 || e2e_fail "drawing.scr /a ended with '$?'"

expect_dialog() {
  wine "$scr" "$@" >"$E2E_WORK/drawing.log" 2>&1 &
  E2E_APP_PID=$!
  local dialog
  dialog=$(e2e_find_window '^drawing screen saver$') ||
    e2e_fail "no settings dialog for '$*'"
  eval "$(xdotool getwindowgeometry --shell "$dialog" | grep -E '^(WIDTH|HEIGHT)=')"
  ((WIDTH < 800 && HEIGHT < 600)) || e2e_fail "the dialog is ${WIDTH}x${HEIGHT}, the whole screen"
  [[ -z $(xdotool search --onlyvisible --name '^drawing$') ]] || e2e_fail "'$*' started the drawing"
  xdotool windowfocus --sync "$dialog"
  xdotool key Return
  wine_expect_exit_ok 10
}
expect_dialog /c
expect_dialog
echo PASS
