#!/usr/bin/env bash
# CPU that `drawing` takes per second of running, at 1920x1080 with the
# default swarm, under Xvfb (no GPU): full screen, and hosted in the root
# window. Prints the share of one core the whole process used (all threads,
# user + system), measured over SECONDS after a warm-up.
#   scripts/bench-cpu.sh [BUILD_DIR] [SECONDS]
# Besides the program as it chooses (the window surface where OpenGL runs in
# software), full screen is measured with the renderers SDL would otherwise
# pick, named in SDL_RENDER_DRIVER.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
seconds=${2:-10}
[[ -x "$build/drawing" ]] || { echo "no $build/drawing: build the release preset first" >&2; exit 1; }

display=""
for n in $(seq 150 199); do
  [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
  display=":$n"
  break
done
[[ -n "$display" ]] || { echo "no free X display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp +extension GLX +extension RANDR >/dev/null 2>&1 &
xvfb=$!
app=""
trap '[[ -n "$app" ]] && kill "$app" 2>/dev/null; kill "$xvfb" 2>/dev/null; wait 2>/dev/null' EXIT
export DISPLAY=$display
for i in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

ticks=$(getconf CLK_TCK)
# utime + stime of the process (all its threads), in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

measure() {
  local name=$1 driver=$2
  shift 2
  SDL_RENDER_DRIVER=$driver "$build/drawing" "$@" >/dev/null 2>&1 &
  app=$!
  sleep 3
  kill -0 "$app" 2>/dev/null || { echo "$name: drawing ended early" >&2; exit 1; }
  local before after threads
  before=$(cpu_ticks "$app")
  sleep "$seconds"
  after=$(cpu_ticks "$app")
  threads=$(ls "/proc/$app/task" | wc -l)
  kill -TERM "$app"
  wait "$app" || true
  app=""
  awk -v n="$name" -v t=$((after - before)) -v hz="$ticks" -v s="$seconds" -v th="$threads" \
    'BEGIN { printf "%-34s %5.1f %% of a core (%d threads)\n", n, 100 * t / hz / s, th }'
}

echo "drawing at 1920x1080 under Xvfb, ${seconds} s after 3 s of warm-up:"
measure "full screen" ""
measure "hosted (--root)" "" --root
measure "full screen, OpenGL renderer" opengl
measure "full screen, SDL software renderer" software
