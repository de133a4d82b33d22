#!/usr/bin/env bash
# The native adapter tests that need a desktop (window procedure, full-screen
# Direct3D 9 device) run under wine on Xvfb; none may skip here.
source "$(dirname "$0")/wine_lib.sh"
wine_setup "$1" 1024x768
exe="$E2E_BUILD/tests/test_platform.exe"
[[ -f $exe ]] || { echo "no $exe" >&2; exit 77; }
output=$(cd "$E2E_WORK" && wine "$exe" --gtest_filter='Win32Desktop*' 2>&1 | tr -d '\r') ||
  { echo "$output" >&2; e2e_fail "desktop adapter tests failed"; }
echo "$output"
grep -q '^\[  PASSED  \] [1-9]' <<<"$output" || e2e_fail "no desktop adapter test passed"
! grep -q 'SKIPPED' <<<"$output" || e2e_fail "desktop adapter tests skipped under Xvfb"
echo PASS
