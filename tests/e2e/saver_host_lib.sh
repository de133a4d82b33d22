# What the tests of drawing under a real screen-saver host (XScreenSaver,
# xsecurelock) share: the X server with one or two monitors, a wrapper the
# host starts in drawing's place, and the checks that every monitor shows a
# changing picture from a program of its own and that every program ends
# with status 0.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# Starts the X server: with DRAWING_E2E_MONITORS=2 two monitors of different
# sizes side by side, else one. Sets `monitors` to their geometries.
saver_start_x() {
  if [[ ${DRAWING_E2E_MONITORS:-1} == 2 ]]; then
    e2e_start_two_monitors 640x480 800x600
    read -r -a monitors <<<"$E2E_MONITORS"
  else
    e2e_start_x 640x480
    monitors=(640x480+0+0)
  fi
}

# Writes $home/saver.sh, which runs a copy of drawing (the build directory
# may not be readable to the host's user) with the wrapper's arguments and
# keeps, in $home/runs/<wrapper pid>/, the program's pid, the window the host
# gave it, its stderr, when it was signalled, and its exit status and end
# time. Signals are handed on to the program.
saver_write_wrapper() {
  local build=$1
  install -m 755 "$build/drawing" "$home/drawing"
  cat >"$home/saver.sh" <<WRAPPER
#!/bin/bash
run="$home/runs/\$\$"
mkdir -p "\$run"
echo "\${XSCREENSAVER_WINDOW:-}" >"\$run/window"
"$home/drawing" "\$@" 2>"\$run/err" &
child=\$!
trap 'date +%s.%N >"\$run/signalled"; kill -TERM \$child' TERM INT HUP
echo \$child >"\$run/pid"
# A signal's trap cuts a wait short; the last wait returns the child's status.
wait \$child
while kill -0 \$child 2>/dev/null; do wait \$child; done
wait \$child
status=\$?
echo "\$status \$(date +%s.%N)" >"\$run/ended"
WRAPPER
  chmod 755 "$home/saver.sh"
}

saver_started() { compgen -G "$home/runs/*/pid" | wc -l; }

saver_painted_everywhere() {
  local monitor
  for monitor in "${monitors[@]}"; do
    awk -v p="$(e2e_painted_fraction "$1" "$monitor")" 'BEGIN { exit !(p > 0.03) }' || return 1
  done
}

# One program a monitor, each in a window covering its monitor, and every
# monitor painted and changing. $1 describes the host for the messages.
saver_check_pictures() {
  local log=$1 i monitor painted changed run window geometry covered=()
  for i in $(seq 1 20); do
    sleep 1
    (($(saver_started) == ${#monitors[@]})) || continue
    e2e_capture "$home/first.png"
    saver_painted_everywhere "$home/first.png" && break
  done
  (($(saver_started) == ${#monitors[@]})) ||
    e2e_fail "the host started $(saver_started) drawing for ${#monitors[@]} monitors: $(cat "$log")"
  sleep 1
  e2e_capture "$home/second.png"
  for monitor in "${monitors[@]}"; do
    painted=$(e2e_painted_fraction "$home/first.png" "$monitor")
    changed=$(/usr/bin/compare -metric AE "$home/first.png[$monitor]" "$home/second.png[$monitor]" \
      null: 2>&1 || true)
    [[ $changed =~ ^[0-9.e+]+$ ]] || e2e_fail "compare: $changed"
    echo "monitor $monitor: painted $painted; $changed pixels changed in a second"
    awk -v p="$painted" 'BEGIN { exit !(p > 0.03) }' || e2e_fail "monitor $monitor is not painted"
    awk -v c="$changed" 'BEGIN { exit !(c > 100) }' || e2e_fail "the picture on $monitor does not change"
  done
  for run in "$home"/runs/*; do
    window=$(cat "$run/window")
    [[ -n $window ]] || e2e_fail "drawing was started without XSCREENSAVER_WINDOW"
    geometry=$(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 }
      /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
      END { print w "x" h "+" x "+" y }')
    echo "drawing $(cat "$run/pid") draws in $window at $geometry"
    covered+=("$geometry")
  done
  [[ "$(printf '%s\n' "${covered[@]}" | sort)" == "$(printf '%s\n' "${monitors[@]}" | sort)" ]] ||
    e2e_fail "the programs' windows (${covered[*]}) are not the monitors (${monitors[*]})"
}

# After the host was told to stop: every program ended with status 0 within
# a second of its signal, and none is left running.
saver_check_ended() {
  local i run pid status ended signalled
  for i in $(seq 1 30); do
    (($(compgen -G "$home/runs/*/ended" | wc -l) == ${#monitors[@]})) && break
    sleep 0.1
  done
  for run in "$home"/runs/*; do
    pid=$(cat "$run/pid")
    [[ -s "$run/ended" ]] || e2e_fail "drawing $pid still runs 3 s after the host stopped"
    [[ -s "$run/signalled" ]] || e2e_fail "drawing $pid ended before it was told to: $(cat "$run/err")"
    read -r status ended <"$run/ended"
    signalled=$(cat "$run/signalled")
    echo "drawing $pid ended with status $status, $(awk -v a="$signalled" -v b="$ended" 'BEGIN { print b - a }') s after the signal"
    [[ "$status" == 0 ]] || e2e_fail "drawing ended with status $status: $(cat "$run/err")"
    awk -v a="$signalled" -v b="$ended" 'BEGIN { exit !(b - a < 1) }' ||
      e2e_fail "drawing took more than a second to end"
    ! kill -0 "$pid" 2>/dev/null || e2e_fail "drawing $pid is still running"
  done
  ! pgrep -f "$home/drawing" >/dev/null || e2e_fail "a drawing process is left running"
}
