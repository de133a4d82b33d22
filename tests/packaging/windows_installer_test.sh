#!/usr/bin/env bash
# drawing-setup.exe under wine, in prefixes of the test's own: a 64-bit one
# (the 32-bit installer must put the 64-bit saver in the real System32) with
# a screen saver already chosen, and a 32-bit one with none. Silent install,
# the saver and the Apps entry, `drawing.scr /c` from where it was
# installed, then a silent uninstall that leaves no file, key or choice
# behind and puts the earlier choice back.
#   tests/packaging/windows_installer_test.sh [SETUP]   the installer made, or SETUP
set -euo pipefail
cd "$(dirname "$0")/../.."
source tests/e2e/lib.sh

version=$(scripts/project-version.sh)
work=$(mktemp -d)
setup=${1:-$(scripts/build-installer.sh "$work")}
setup=$(realpath "$setup")
stop() {
  [[ -n "${WINEPREFIX:-}" ]] && wineserver -k 2>/dev/null || true
  e2e_stop_x
  rm -rf "$work"
}
e2e_start_x 800x600
trap stop EXIT
export WINEDEBUG=-all

desktop='HKCU\Control Panel\Desktop'
# Prints the value $2 of key $1 (the data after the type), or nothing.
reg_value() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p" || true
}
# The screen-saver choice, both values, as one text.
saver_choice() {
  echo "$(reg_value "$desktop" SCRNSAVE.EXE)|$(reg_value "$desktop" ScreenSaveActive)"
}
# Every file and folder of the prefix's C: drive but the temporary folders.
drive_listing() {
  find "$WINEPREFIX/drive_c" -iname temp -prune -o -print | sort
}

check_prefix() {
  local arch=$1 scr=$2 previous=$3
  export WINEPREFIX=$work/$arch WINEARCH=$arch
  wine wineboot --init </dev/null >/dev/null 2>&1 || e2e_fail "wine cannot make a $arch prefix"
  wineserver -w
  if [[ -n $previous ]]; then
    wine reg add "$desktop" /v SCRNSAVE.EXE /d "$previous" /f >/dev/null 2>&1
    wine reg add "$desktop" /v ScreenSaveActive /d 0 /f >/dev/null 2>&1
  fi
  local choice_before files_before
  choice_before=$(saver_choice)
  files_before=$(drive_listing)

  wine "$setup" /S || e2e_fail "$arch: the silent install ended with $?"
  wineserver -w
  local system=$WINEPREFIX/drive_c/windows/system32
  cmp -s "$system/drawing.scr" "$scr" || e2e_fail "$arch: System32 does not hold $scr"
  [[ ! -e $WINEPREFIX/drive_c/windows/syswow64/drawing.scr ]] ||
    e2e_fail "$arch: a drawing.scr went to SysWOW64"

  # A 32-bit installer's HKLM\Software is the 32-bit view on 64-bit Windows.
  local key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Drawing' files='Program Files'
  if [[ $arch == win64 ]]; then
    key='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Drawing'
    files='Program Files (x86)'
  fi
  [[ "$(reg_value "$key" DisplayName)" == "Drawing screen saver" ]] || e2e_fail "$arch: no Apps entry"
  [[ "$(reg_value "$key" DisplayVersion)" == "$version" ]] || e2e_fail "$arch: the entry's version is wrong"
  [[ "$(reg_value "$key" Publisher)" == "Drawing maintainers" ]] || e2e_fail "$arch: the entry names no publisher"
  local uninstaller="C:\\$files\\Drawing\\uninstall.exe"
  [[ "$(reg_value "$key" UninstallString)" == "\"$uninstaller\"" ]] ||
    e2e_fail "$arch: the uninstall command is $(reg_value "$key" UninstallString)"
  [[ -f "$WINEPREFIX/drive_c/$files/Drawing/uninstall.exe" ]] || e2e_fail "$arch: no uninstaller"
  # The size in KiB, at least the saver's.
  local size=$(($(reg_value "$key" EstimatedSize)))
  ((size * 1024 >= $(stat -c %s "$scr"))) || e2e_fail "$arch: the entry's size, $size KiB, is too small"
  local selected
  selected=$(saver_choice)
  [[ "${selected,,}" == 'c:\windows\system32\drawing.scr|1' ]] || e2e_fail "$arch: the saver chosen is $selected"

  # Started as Screen Saver Settings starts it, from the system folder: on
  # 64-bit Windows by a 64-bit process, the only kind that sees System32
  # unredirected (Debian's `wine` picks the 32-bit loader when it has one).
  local loader=wine
  [[ $arch == win64 ]] && loader=/usr/lib/wine/wine64
  (cd "$system" && exec "$loader" 'C:\windows\system32\drawing.scr' /c >/dev/null 2>&1) &
  E2E_APP_PID=$!
  local dialog
  dialog=$(e2e_find_window '^drawing screen saver$') || e2e_fail "$arch: the installed saver's /c shows nothing"
  xdotool windowfocus --sync "$dialog" key Return
  e2e_wait_exit "$E2E_APP_PID" 15
  [[ $E2E_EXIT_STATUS == 0 ]] || e2e_fail "$arch: drawing.scr /c ended with '$E2E_EXIT_STATUS'"
  E2E_APP_PID=

  wine "$uninstaller" /S || e2e_fail "$arch: the silent uninstall ended with $?"
  # The uninstaller runs on from a copy of itself: wait for it.
  wineserver -w
  ! wine reg query "$key" >/dev/null 2>&1 || e2e_fail "$arch: the Apps entry is left"
  [[ "$(saver_choice)" == "$choice_before" ]] ||
    e2e_fail "$arch: the choice is '$(saver_choice)', not the earlier '$choice_before'"
  local left
  left=$(diff <(echo "$files_before") <(drive_listing)) || e2e_fail "$arch: the uninstall left: $left"
  wineserver -k
}

check_prefix win64 build/windows-x64/drawing.scr 'C:\windows\system32\previous.scr'
check_prefix win32 build/windows-i686/drawing.scr ''
echo "windows installer: installs, selects and uninstalls cleanly"
