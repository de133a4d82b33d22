# Helpers for the wine end-to-end tests: a wine prefix of their own whose
# server starts fresh on each test's X server, and drawing.exe on that screen.
# With DRAWING_E2E_SCR=1 the same checks run `drawing.scr /s` as Windows
# starts a screen saver: in the system folder, saving to the user's Pictures
# folder. That folder is moved into the test's own directory (as a user may
# move it) so that nothing lands in the real home, which wine links it to.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# wine_setup BUILD_DIR SIZE: starts Xvfb at SIZE and a wine server on it.
# With SIZE "PRIMARY OTHER PLACEMENT" (1368x768 800x600 left-of) the X
# server has two monitors instead (e2e_start_two_monitors).
wine_setup() {
  E2E_BUILD=$(cd "$1" && pwd)
  command -v wine >/dev/null || { echo "wine missing" >&2; exit 77; }
  if [[ $2 == *" "* ]]; then
    # shellcheck disable=SC2086 # the words are the monitors
    e2e_start_two_monitors $2
  else
    e2e_start_x "$2"
  fi
  trap 'wine_stop; e2e_stop_x' EXIT
  export WINEPREFIX="${DRAWING_E2E_WINEPREFIX:-$(dirname "$E2E_BUILD")/wineprefix-desktop}"
  export WINEDEBUG=-all
  mkdir -p "$WINEPREFIX"
  # A server left from another display would put our windows there.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wine wineboot --init </dev/null >/dev/null 2>&1 || e2e_fail "wine cannot start"
  E2E_WORK=$(mktemp -d)
  E2E_SAVED=$E2E_WORK/bild.bmp
  if [[ -n ${DRAWING_E2E_SCR:-} ]]; then
    wine_move_pictures "$E2E_WORK/pictures"
    E2E_SAVED=$E2E_WORK/pictures/bild.bmp
  fi
}

# Points the wine user's Pictures folder at a new Linux directory $1. (Made
# here: wine would make a missing one as a link to the real home.)
wine_move_pictures() {
  mkdir -p "$1"
  local folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
  wine reg add "$folders" /v "My Pictures" /t REG_EXPAND_SZ /d "Z:${1//\//\\}" /f \
    </dev/null >/dev/null 2>&1 || e2e_fail "cannot move the Pictures folder"
}

wine_stop() {
  [[ -n "${E2E_APP_PID:-}" ]] && kill -KILL "$E2E_APP_PID" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  [[ -n "${E2E_WORK:-}" ]] && rm -rf "$E2E_WORK"
}

# Starts drawing.exe in E2E_WORK (or drawing.scr /s in the system folder)
# and waits for its window; sets E2E_APP_PID and E2E_WINDOW. Without a
# window manager nobody gives the window the X input focus, so the test
# does, as a window manager would on activation.
wine_start_drawing() {
  local command=("$E2E_BUILD/drawing.exe") directory=$E2E_WORK
  if [[ -n ${DRAWING_E2E_SCR:-} ]]; then
    command=("$E2E_BUILD/drawing.scr" /s)
    directory=$WINEPREFIX/drive_c/windows/system32
  fi
  [[ -f ${command[0]} ]] || { echo "no ${command[0]}" >&2; exit 77; }
  (cd "$directory" && exec wine "${command[@]}" >"$E2E_WORK/drawing.log" 2>&1) &
  E2E_APP_PID=$!
  E2E_WINDOW=$(e2e_find_window '^drawing$') ||
    e2e_fail "no visible window titled drawing"
  xdotool windowfocus --sync "$E2E_WINDOW"
}

# Waits until at least the fraction $1 of the screen is painted; prints it.
wine_wait_painted() {
  local want=$1 fraction=0 i
  for i in $(seq 1 40); do
    e2e_capture "$E2E_WORK/screen.png"
    fraction=$(e2e_painted_fraction "$E2E_WORK/screen.png" "$(xdotool getdisplaygeometry | tr ' ' x)+0+0")
    if awk -v f="$fraction" -v w="$want" 'BEGIN { exit !(f >= w) }'; then
      echo "$fraction"
      return 0
    fi
    sleep 0.5
  done
  e2e_fail "screen not painted (fraction $fraction)"
}

# Waits up to 10 seconds for the picture S saves.
wine_wait_saved() {
  local i
  for i in $(seq 1 50); do
    [[ -s $E2E_SAVED ]] && return 0
    sleep 0.2
  done
  e2e_fail "no bild.bmp after S"
}

# Holds a key long enough for several frames to see it, then lets it go.
wine_hold_key() {
  xdotool keydown "$1"
  sleep 0.4
  xdotool keyup "$1"
}

# Waits up to $1 seconds (default 15) for drawing.exe to end with status 0.
# (The wait runs in this shell: only the parent can collect the status.)
wine_expect_exit_ok() {
  e2e_wait_exit "$E2E_APP_PID" "${1:-15}"
  [[ $E2E_EXIT_STATUS == 0 ]] || {
    cat "$E2E_WORK/drawing.log" >&2
    e2e_fail "drawing.exe ended with '$E2E_EXIT_STATUS'"
  }
  E2E_APP_PID=
}

wine_expect_running() {
  kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "drawing.exe ended early: $*"
}
