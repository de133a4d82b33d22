#!/usr/bin/env bash
# What a running screen saver costs the whole machine: the CPU of the program
# and of the X server under it, on Xvfb (no GPU, depth 24, MIT-SHM), one
# screen size at a time. `drawing` runs with the default swarm full screen,
# hosted with --root in the root window, and hosted in a window made for it
# and named in XSCREENSAVER_WINDOW (as XScreenSaver does); two of Debian's own
# hacks, swirl and binaryring (xscreensaver-data), run in the root window at
# their own defaults for comparison. Xvfb reports no refresh rate, so the
# hosts' pacer holds drawing at its default 60 frames a second.
#
#   scripts/bench-cpu.sh [--build DIR] [--seconds N] [--sizes WxH[,WxH...]]
#
# Each run: 3 s of warm-up, then N seconds (default 10) measured; user +
# system time of every thread (/proc/PID/stat) as a share of one core. Without
# --build (or DRAWING_BUILD_DIR) the release preset is built first. A target
# not met is reported, not failed; a program that ends before it is stopped
# or dies of a signal fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/e2e/lib.sh

die() { echo "bench-cpu: $*" >&2; exit 1; }

build=${DRAWING_BUILD_DIR:-}
seconds=10
warm_up=3
sizes=1920x1080,3840x2160
while (($#)); do
  case $1 in
    --build) build=${2:?}; shift 2 ;;
    --seconds) seconds=${2:?}; shift 2 ;;
    --sizes) sizes=${2:?}; shift 2 ;;
    *) die "unknown option '$1' (usage: bench-cpu.sh [--build DIR] [--seconds N] [--sizes WxH,...])" ;;
  esac
done
[[ $seconds =~ ^[1-9][0-9]*$ ]] || die "--seconds wants a whole number of seconds, not '$seconds'"
IFS=, read -ra sizes <<<"$sizes"
for size in "${sizes[@]}"; do
  [[ $size =~ ^[1-9][0-9]*x[1-9][0-9]*$ ]] || die "a size is WIDTHxHEIGHT, not '$size'"
done

if [[ -z $build ]]; then
  scripts/install-deps.sh
  cmake --preset release >/dev/null
  cmake --build --preset release -j "$(nproc)" --target drawing >/dev/null
  build=build/release
fi
hacks=/usr/libexec/xscreensaver
owner_program=$build/tests/e2e/x11_test_window
[[ -x $build/drawing ]] || die "no $build/drawing: build the release preset"
[[ -x $owner_program ]] || die "no $owner_program: build the release preset with its tests"
for tool in Xvfb xdotool xdpyinfo "$hacks/swirl" "$hacks/binaryring"; do
  command -v "$tool" >/dev/null || die "$tool missing: run scripts/install-deps.sh"
done
unset XSCREENSAVER_WINDOW

ticks_per_second=$(getconf CLK_TCK)
# utime + stime of a process, all its threads, in clock ticks; fails once it
# has ended.
cpu_ticks() {
  local stat state utime stime
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  # Past the command name, which may hold spaces: state, ten fields, utime, stime.
  read -r state _ _ _ _ _ _ _ _ _ _ utime stime _ <<<"${stat##*) }"
  [[ $state != Z ]] && echo $((utime + stime))
}
# Busy time of the whole machine, all cores, in clock ticks (steal apart).
machine_ticks() { awk '/^cpu / { print $2 + $3 + $4 + $7 + $8 }' /proc/stat; }
share() { awk -v t="$1" -v hz="$ticks_per_second" -v ns="$2" 'BEGIN { printf "%.1f", 100 * t / hz / (ns / 1e9) }'; }

rows=()
targets=()
others=0 measured_ns=0
# measure NAME SIZE COMMAND...: runs COMMAND in the background, warms up,
# measures, stops it with SIGTERM; adds a table row.
measure() {
  local name=$1 size=$2
  shift 2
  echo "bench-cpu: $name at $size" >&2
  "$@" >/dev/null 2>&1 &
  E2E_APP_PID=$!
  sleep "$warm_up"
  local app0 x0 m0 t0 app1 x1 m1 t1
  app0=$(cpu_ticks "$E2E_APP_PID") || die "$name at $size ended during the warm-up"
  x0=$(cpu_ticks "$E2E_XVFB_PID") || die "Xvfb ended while $name ran"
  m0=$(machine_ticks) t0=$(date +%s%N)
  sleep "$seconds"
  app1=$(cpu_ticks "$E2E_APP_PID") || die "$name at $size ended while measured"
  x1=$(cpu_ticks "$E2E_XVFB_PID") || die "Xvfb ended while $name ran"
  m1=$(machine_ticks) t1=$(date +%s%N)
  others=$((others + m1 - m0 - (app1 - app0) - (x1 - x0))) measured_ns=$((measured_ns + t1 - t0))
  kill -TERM "$E2E_APP_PID"
  local status=0
  wait "$E2E_APP_PID" || status=$?
  E2E_APP_PID=""
  # drawing ends with 0 on SIGTERM, the hacks die of it (128 + 15).
  ((status == 0 || status == 143)) || die "$name at $size ended with status $status when stopped"
  local program server together
  program=$(share $((app1 - app0)) $((t1 - t0)))
  server=$(share $((x1 - x0)) $((t1 - t0)))
  together=$(share $((app1 - app0 + x1 - x0)) $((t1 - t0)))
  rows+=("| $name | $size | $program % | $server % | $together % |")
  local limit=""
  [[ $size == 1920x1080 ]] && limit=2
  [[ $size == 3840x2160 ]] && limit=3
  if [[ -n $limit && $name == \`drawing* ]]; then
    local verdict="not met"
    awk -v a="$together" -v b="$limit" 'BEGIN { exit !(a <= b) }' && verdict=met
    targets+=("- $name at $size: together $together % against <= $limit %: $verdict")
  fi
}

owner=""
stop_all() {
  [[ -n $owner ]] && kill "$owner" 2>/dev/null
  e2e_stop_x
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for size in "${sizes[@]}"; do
  E2E_SCREEN_DEPTH=24 e2e_start_x "$size"
  trap stop_all EXIT
  [[ $(xdpyinfo -queryExtensions) == *MIT-SHM* ]] || die "this Xvfb has no MIT-SHM"
  measure "\`drawing\` full screen" "$size" "$build/drawing"
  measure "\`drawing --root\`, root window" "$size" "$build/drawing" --root
  # A window of another program at the screen's size, as XScreenSaver makes;
  # its owner waits on a standard input that stays open.
  coproc OWNER { exec "$owner_program" 0 0 "${size%x*}" "${size#*x}"; }
  owner=$OWNER_PID
  read -r window <&"${OWNER[0]}" || die "the window for hosted mode did not start"
  measure "\`drawing --root\`, own window" "$size" env XSCREENSAVER_WINDOW="$window" "$build/drawing" --root
  kill "$owner"
  wait "$owner" || true
  owner=""
  measure "peer: \`swirl --root\`" "$size" "$hacks/swirl" --root
  measure "peer: \`binaryring --root\`" "$size" "$hacks/binaryring" --root
  e2e_stop_x
  wait "$E2E_XVFB_PID" 2>/dev/null || true
  E2E_XVFB_PID=""
done

echo "Whole-machine CPU, share of one core: ${warm_up} s of warm-up, then ${seconds} s measured"
echo
echo "| run | screen | program | X server | together |"
echo "|---|---|---:|---:|---:|"
printf '%s\n' "${rows[@]}"
echo
echo "Machine: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $(nproc) cores," \
  "Linux $(uname -r), Xvfb $(dpkg-query -W -f='${Version}' xvfb 2>/dev/null || echo unknown)"
echo "Date: $(date -u '+%Y-%m-%d %H:%M UTC'); load average $load_before before, $(cut -d' ' -f1-3 /proc/loadavg) after;" \
  "other processes took $(share "$others" "$measured_ns") % of a core while measured"
if ((${#targets[@]})); then
  echo
  echo "Targets (program and X server together):"
  printf '%s\n' "${targets[@]}"
fi
