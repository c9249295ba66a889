#!/usr/bin/env bash
# Measures the engine on a desktop of its own (Xvfb with openbox, 800 x 600 window): CPU while
# the test scene idles at 60 Hz, its peak memory, and the time from start to first frame; the
# same CPU and memory figures for LBreakout2 (if installed) and for the game itself, side by side.
#
#   bench/desktop_measurements.sh BUILD_FOLDER [SECONDS]
set -euo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-20}
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

exec 5> >(cat > "$work/display")
Xvfb -displayfd 5 -screen 0 1280x720x24 -nolisten tcp -noreset 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do grep -q . "$work/display" 2>/dev/null && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
openbox --sm-disable --startup "touch $work/wm" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -e "$work/wm" ] && break; sleep 0.1; done

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Percent of one core that process $1 used over $seconds, then its peak resident memory.
measure() {
  local pid=$1 name=$2 before after
  sleep 3  # past start-up
  before=$(cpu_ticks "$pid")
  sleep "$seconds"
  after=$(cpu_ticks "$pid")
  printf '%-12s CPU %5.1f %% of one core over %s s, peak memory (VmHWM) %s\n' "$name" \
    "$(echo "scale=3; ($after - $before) * 100 / $ticks / $seconds" | bc)" "$seconds" \
    "$(awk '/VmHWM/ {print $2, $3}' "/proc/$pid/status")"
}

mkdir -p "$work/scene"
"$build/e2e_scene" "$work/scene" window > "$work/scene.out" 2>/dev/null &
scene=$!
pids+=($scene)
for _ in $(seq 100); do grep -q '^ready' "$work/scene.out" && break; sleep 0.1; done
echo "scene        start to first frame: $(awk '/^ready/ {print $4; exit}' "$work/scene.out") ms"
measure "$scene" scene
kill "$scene"

if command -v lbreakout2 > /dev/null || [ -x /usr/games/lbreakout2 ]; then
  HOME="$work" PATH="$PATH:/usr/games" lbreakout2 > /dev/null 2>&1 &
  pids+=($!)
  measure "$!" lbreakout2
  kill "$!"
fi

if [ -x "$build/quasarball" ]; then
  start=$(date +%s%N)
  "$build/quasarball" > /dev/null 2>&1 &
  game=$!
  pids+=($game)
  xdotool search --sync --onlyvisible --name Quasarball > /dev/null
  echo "quasarball   start to window shown: $(( ($(date +%s%N) - start) / 1000000 )) ms"
  measure "$game" quasarball
  kill "$game"
fi
