#!/usr/bin/env bash
# On a desktop scaled to 125 % and 150 % (LogPixels 120 and 144), drawing.exe
# and drawing.scr /s still cover every physical pixel: the full-screen window
# is the whole X screen, and it is painted. Both declare per-monitor DPI
# awareness in their manifest; wine 8 treats every program as aware, so the
# manifest itself is checked in the files, and the scaled desktop here shows
# that nothing else in the program shrinks or stretches its screen.
source "$(dirname "$0")/wine_lib.sh"
# A prefix of its own: the scale is a setting of the whole prefix.
export DRAWING_E2E_WINEPREFIX
DRAWING_E2E_WINEPREFIX=$(mktemp -d)
wine_setup "$1" 800x600
trap 'wine_stop; e2e_stop_x; rm -rf "$DRAWING_E2E_WINEPREFIX"' EXIT

for file in drawing.exe drawing.scr; do
  [[ -f $E2E_BUILD/$file ]] || { echo "no $file" >&2; exit 77; }
  grep -q 'PerMonitorV2, PerMonitor' "$E2E_BUILD/$file" && grep -q 'true/pm' "$E2E_BUILD/$file" ||
    e2e_fail "$file declares no per-monitor DPI awareness"
done

for dpi in 120 144; do
  for key in 'HKCU\Control Panel\Desktop' \
    'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1 ||
      e2e_fail "cannot set LogPixels"
  done
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  for program in drawing.exe "drawing.scr /s"; do
    DRAWING_E2E_SCR=""
    if [[ $program == drawing.scr* ]]; then
      DRAWING_E2E_SCR=1
      wine_move_pictures "$E2E_WORK/pictures"
    fi
    wine_start_drawing
    geometry=$(xdotool getwindowgeometry "$E2E_WINDOW" | awk '/Geometry/ { print $2 }')
    echo "LogPixels $dpi, $program: window $geometry, painted $(wine_wait_painted 0.002)"
    [[ $geometry == 800x600 ]] || e2e_fail "at LogPixels $dpi the window is $geometry, not 800x600"
    wine_hold_key a
    wine_expect_exit_ok
  done
done
echo PASS
