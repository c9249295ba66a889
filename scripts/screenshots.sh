#!/usr/bin/env bash
# Takes the README's pictures from the real game on a virtual display: the main menu, the
# options, the records panel and a level in play, and the sixteen bonus capsules from the game's
# own pack. The game runs as installed (cmake --install into a staging folder) for a player with
# an empty home, so the pictures show the defaults and no saved file of the build is touched.
#
#   scripts/screenshots.sh [BUILD_FOLDER] [DISPLAY_NUMBER]    (build/ and 101 unless given)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
display=":${2:-101}"
out="$root/docs/screenshots"

cmake --build "$build" --target quasarball packtool
work=$(mktemp -d)
cleanup() {
  [ -n "${game:-}" ] && kill "$game" 2>/dev/null || true
  [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null || true
  [ -n "${xserver:-}" ] && kill "$xserver" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >/dev/null
mkdir -p "$work/home" "$out"

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
xserver=$!
export DISPLAY="$display"
for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
openbox --sm-disable >/dev/null 2>&1 &
wm=$!

HOME="$work/home" XDG_DATA_HOME="" SDL_AUDIODRIVER=dummy "$work/stage/usr/bin/quasarball" \
  >"$work/game.log" 2>&1 &
game=$!
window=$(timeout 60 xdotool search --sync --name '^Quasarball$' | head -n1)
xdotool windowactivate --sync "$window"
# The start-up light and the menu's buttons fade in over a few seconds.
sleep 8

shot() {
  import -window "$window" "$out/$1.png"
  echo "screenshots: $out/$1.png"
}
key() {
  xdotool key --delay 150 "$@"
  sleep 0.6
}

shot main-menu
key Down Return  # OPTIONS
sleep 1
shot options
key Escape Down Return  # HIGH SCORES
sleep 1
shot records
key Escape Up Up Return  # START GAME
sleep 6                  # the menu fades out, the level's intro, the paddle slides in
key space                # the ball goes up into the blocks
sleep 2.5
shot level
xdotool key alt+F4
wait "$game" || true
game=

# One picture of each capsule, the first of its eight.
"$build/tools/packtool" extract "$build/data/Bonuses.dat" "$work/bonuses" >/dev/null
mkdir -p "$out/bonuses"
for kind in $(seq 1 16); do
  cp "$work/bonuses/$(printf '%03d' $(((kind - 1) * 8))).png" \
    "$out/bonuses/bonus-$(printf '%02d' "$kind").png"
done
echo "screenshots: $out/bonuses/bonus-01.png .. bonus-16.png"
