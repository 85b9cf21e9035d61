#!/usr/bin/env bash
# Takes docs/screenshot.png: the game under a private Xvfb after a few steps and a shot.
# Usage: scripts/readme-screenshot.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
out="$PWD/docs/screenshot.png"
work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
exec 3> "$work/display"
Xvfb -displayfd 3 -noreset -screen 0 640x480x24 -nolisten tcp > /dev/null 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")" SDL_VIDEODRIVER=x11 SDL_RENDER_DRIVER=software
export XDG_CONFIG_HOME="$work/config"  # the default settings, not the user's
"$build/src/platform/sdl/krello" &
game_pid=$!
sleep 1.5
xdotool keydown Up; sleep "${WALK_SECONDS:-0.6}"; xdotool keyup Up
xdotool key space
sleep 0.25
import -window root "$out"
xdotool key Escape
wait "$game_pid" || true
game_pid=""
echo "wrote $out"
