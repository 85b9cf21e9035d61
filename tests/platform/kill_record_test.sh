#!/bin/bash
# The game killed outright (SIGKILL, no handler runs) while it records: what reached the disk
# replays up to its last complete block, and the replay says how far it got.
# Usage: kill_record_test.sh KRELLO KRELLO_TOOL WORK_DIR SOURCE_DIR
set -euo pipefail
krello=$1
tool=$2
work=$3
source=$4
rm -rf "$work"
mkdir -p "$work"
cd "$work"

xvfb_pid=""
game_pid=""
cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then kill -9 "$game_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
fail() { echo "kill-record: FAILED: $*"; echo "--- game stderr:"; cat game.err 2>/dev/null || true; exit 1; }

source "$source/scripts/xvfb.sh"
start_xvfb 640x480x24
export SDL_VIDEODRIVER=x11 SDL_RENDER_DRIVER=software XDG_CONFIG_HOME="$work/config"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

"$krello" --windowed --record k.demo > game.out 2> game.err &
game_pid=$!
# Everything below waits on a condition (a busy machine may take minutes), never on the clock.
for _ in $(seq 1800); do
  xdotool search --name "KRELLO 32K" > /dev/null 2>&1 && break
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended at start-up"
  sleep 0.1
done
xdotool search --name "KRELLO 32K" > /dev/null 2>&1 || fail "no window"
xdotool keydown Up
# A few blocks on the disk: the recorder closes one every 64 updates and flushes every second.
for _ in $(seq 1800); do
  [ "$(stat -c %s k.demo 2>/dev/null || echo 0)" -ge 2000 ] && break
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended while recording"
  sleep 0.1
done
[ "$(stat -c %s k.demo 2>/dev/null || echo 0)" -ge 2000 ] || fail "the demo did not grow: $(ls -la)"
kill -KILL "$game_pid"
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" -eq 137 ] || fail "SIGKILL ended the game with status $status, not 137"
ls -A | grep -q '\.tmp$' && fail "a hidden temporary file was left: $(ls -A)"

status=0
"$tool" run --demo k.demo > replay.out 2> replay.err || status=$?
[ "$status" -eq 0 ] || fail "what was left does not replay (status $status): $(cat replay.err)"
line=$(cat replay.out replay.err | grep "demo ends early after" || true)
[ -n "$line" ] || fail "the replay does not say it ended early: $(cat replay.out replay.err)"
updates=$(echo "$line" | sed -E 's/.*demo ends early after ([0-9]+) updates.*/\1/')
[ "$updates" -ge 64 ] || fail "only $updates updates replayed: $line"
echo "kill-record: ok: $line"
