#!/usr/bin/env bash
# Measures the engine on a desktop of its own (Xvfb with openbox, 800 x 600 window): CPU while
# the test scene idles at 60 Hz, its peak memory, and the time from start to first frame; then,
# in the same run, the game and LBreakout2 (if installed) side by side: CPU of the program and of
# the X server while each sits in its main menu and while each is in play with the ball held on
# the paddle (the game over its scrolling background), and each program's peak memory.
#
#   bench/desktop_measurements.sh BUILD_FOLDER [SECONDS]
set -euo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-20}
work=$(mktemp -d)
pids=()
# The programs end before the window manager and the X server they draw on.
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

exec 5> >(cat > "$work/display")
Xvfb -displayfd 5 -screen 0 1280x720x24 -nolisten tcp -noreset 2>/dev/null &
xserver=$!
pids+=($xserver)
for _ in $(seq 100); do grep -q . "$work/display" 2>/dev/null && break; sleep 0.1; done
exec 5>&-  # lets the reader end, or the final wait would wait for it for ever
export DISPLAY=":$(head -1 "$work/display")"
openbox --sm-disable --startup "touch $work/wm" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -e "$work/wm" ] && break; sleep 0.1; done

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
percent() { echo "scale=3; $1 * 100 / $ticks / $seconds" | bc; }
# Percent of one core that process $1 and the X server used over $seconds, then the process's
# peak resident memory.
measure() {
  local pid=$1 name=$2 before after xbefore xafter
  before=$(cpu_ticks "$pid")
  xbefore=$(cpu_ticks "$xserver")
  sleep "$seconds"
  after=$(cpu_ticks "$pid")
  xafter=$(cpu_ticks "$xserver")
  printf '%-22s CPU %5.1f %% of one core (X server %4.1f %%) over %s s, peak memory %s\n' \
    "$name" "$(percent $((after - before)))" "$(percent $((xafter - xbefore)))" "$seconds" \
    "$(awk '/VmHWM/ {print $2, $3}' "/proc/$pid/status")"
}
# The shown window titled $1; windows that come and go while the program starts can make one
# search fail.
find_window() {
  local found
  for _ in $(seq 50); do
    found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
    [ -n "$found" ] && { echo "$found"; return; }
    sleep 0.1
  done
  echo "no window titled $1" >&2
  return 1
}
# Clicks at a point of window $1, in the window's own pixels.
click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

mkdir -p "$work/scene"
"$build/e2e_scene" "$work/scene" window > "$work/scene.out" 2>/dev/null &
scene=$!
pids+=($scene)
for _ in $(seq 100); do grep -q '^ready' "$work/scene.out" && break; sleep 0.1; done
echo "scene                  start to first frame: $(awk '/^ready/ {print $4; exit}' "$work/scene.out") ms"
sleep 3  # past start-up
measure "$scene" scene
kill "$scene"

if command -v lbreakout2 > /dev/null || [ -x /usr/games/lbreakout2 ]; then
  HOME="$work" PATH="$PATH:/usr/games" lbreakout2 > /dev/null 2>&1 &
  peer=$!
  pids+=($peer)
  window=$(find_window LBreakout2)
  sleep 3
  measure "$peer" "lbreakout2 menu"
  # Local Game, then Start Original Set; the ball waits on the paddle for a click.
  click "$window" 181 270
  sleep 1
  click "$window" 181 279
  sleep 3
  measure "$peer" "lbreakout2 play"
  kill "$peer"
fi

# Pixels of window $1 that differ between two pictures of it a tenth of a second apart.
changing_pixels() {
  import -window "$1" "$work/a.png"
  sleep 0.1
  import -window "$1" "$work/b.png"
  compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true
}

if [ -x "$build/quasarball" ]; then
  # Level 1 draws one of three backgrounds at random: a still planet, large asteroids or two
  # scrolling layers, the dearest. The game is started again until play shows the scrolling one.
  for attempt in $(seq 8); do
    start=$(date +%s%N)
    "$build/quasarball" > /dev/null 2>&1 &
    game=$!
    pids+=($game)
    window=$(find_window Quasarball)
    if [ "$attempt" = 1 ]; then
      echo "quasarball             start to window shown: $(( ($(date +%s%N) - start) / 1000000 )) ms"
      # The menu's light fades in and its buttons slide in over the first seconds.
      sleep 8
      measure "$game" "quasarball menu"
    else
      sleep 8
    fi
    # START GAME; the ball waits on the paddle.
    xdotool windowactivate --sync "$window"
    xdotool key Return
    sleep 5
    # The scrolling layers change most of the window from one frame to the next; the other
    # backgrounds only where their asteroids turn.
    if [ "$(changing_pixels "$window")" -gt 100000 ] || [ "$attempt" = 8 ]; then
      break
    fi
    kill "$game"
    wait "$game" 2>/dev/null || true
  done
  if [ "$(changing_pixels "$window")" -gt 100000 ]; then
    measure "$game" "quasarball play"
  else
    measure "$game" "quasarball play (no scrolling background in $attempt starts)"
  fi
  kill "$game"
fi
