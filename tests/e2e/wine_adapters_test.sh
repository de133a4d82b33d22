#!/usr/bin/env bash
# The native adapter tests that need a desktop (window procedure, full-screen
# Direct3D 9 device, the screen saver's preview host with the program in it,
# the saver's drawings over other monitors) run under wine on Xvfb; none may
# skip here.
source "$(dirname "$0")/wine_lib.sh"
wine_setup "$1" 1024x768
for suite in test_platform_win32 test_platform_hosts test_saver; do
  exe="$E2E_BUILD/tests/$suite.exe"
  [[ -f $exe ]] || { echo "no $exe" >&2; exit 77; }
  output=$(cd "$E2E_WORK" && wine "$exe" --gtest_filter='Win32Desktop*' 2>&1 | tr -d '\r') ||
    { echo "$output" >&2; e2e_fail "desktop adapter tests of $suite failed"; }
  echo "$output"
  grep -q '^\[  PASSED  \] [1-9]' <<<"$output" || e2e_fail "no desktop adapter test of $suite passed"
  ! grep -q 'SKIPPED' <<<"$output" || e2e_fail "desktop adapter tests of $suite skipped under Xvfb"
done
echo PASS
