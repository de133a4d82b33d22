#!/usr/bin/env bash
# drawing.scr /p under wine, across processes as Screen Saver Settings runs
# it: scr_preview_probe.exe makes the window, starts the saver on it, checks
# the child window, that input does not end it, no window, focus or mode
# change of its own, and status 0 within a second of the window going.
source "$(dirname "$0")/wine_lib.sh"
wine_setup "$1" 640x480
probe=$E2E_BUILD/scr_preview_probe.exe
[[ -f $probe && -f $E2E_BUILD/drawing.scr ]] || { echo "no $probe or drawing.scr" >&2; exit 77; }
output=$(cd "$E2E_WORK" && timeout 90 wine "$probe" "$(winepath -w "$E2E_BUILD/drawing.scr")" 2>&1 |
  tr -d '\r') || { echo "$output" >&2; e2e_fail "the preview probe failed"; }
echo "$output"
grep -q '^PASS$' <<<"$output" || e2e_fail "the preview probe did not finish"
[[ -z $(xdotool search --onlyvisible --name '^drawing$') ]] || e2e_fail "a full-screen drawing window"
echo PASS
