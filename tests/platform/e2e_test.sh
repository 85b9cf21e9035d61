#!/usr/bin/env bash
# End to end: the game under its own X server, driven by real key events, checked on screen grabs,
# on its screenshots and on the demos it records.
# Usage: e2e_test.sh KRELLO SCREEN_CHECK KRELLO_TOOL WORK_DIR SOURCE_DIR
set -euo pipefail
krello=$1
check=$2
tool=$3
work=$4
source=$5
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

fail() { echo "e2e: FAILED: $*"; echo "--- game stdout:"; cat game.out 2>/dev/null || true
         echo "--- game stderr:"; cat game.err 2>/dev/null || true
         if kill -0 "$xvfb_pid" 2>/dev/null; then echo "--- Xvfb still runs"; else echo "--- Xvfb is gone"; fi
         exit 1; }
passed=0
pass() { passed=$((passed + 1)); echo "e2e: ok: $*"; }

source "$source/scripts/xvfb.sh"
start_xvfb 640x480x24
export SDL_VIDEODRIVER=x11 SDL_RENDER_DRIVER=software
# The settings file of these games: written here on the first start, never in the user's home.
export XDG_CONFIG_HOME="$work/config"
# In a sanitizer build: the X and D-Bus client libraries that SDL loads keep a few allocations
# to the end and are unloaded before the leak report, which then cannot say whose they are.
# Leaks of our own code are checked by krello_platform_tests; every other check stays on.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
echo "e2e: Xvfb on $DISPLAY"

still_running() { kill -0 "$game_pid" 2>/dev/null; }
grab() { import -window root "$1"; }

# Every wait below polls for a condition until this many seconds have passed: a machine whose
# cores are all busy may take that long to draw or end a game, and a wait that holds passes at once.
patience=${KRELLO_E2E_PATIENCE:-180}

# Grabs the screen into FILE until `screen_check MODE FILE ARGS...` passes on it, or the game
# ends, or the patience runs out. The caller checks FILE again.
grab_until() {
  local mode=$1 file=$2 end=$((SECONDS + patience))
  shift 2
  while [ "$SECONDS" -lt "$end" ]; do
    grab "$file"
    "$check" "$mode" "$file" "$@" > /dev/null 2>&1 && return 0
    still_running || return 0
    sleep 0.2
  done
}

# The other way round: grabs until the check fails on FILE (what it looks for is gone). The
# caller checks what it needs.
grab_until_not() {
  local mode=$1 file=$2 end=$((SECONDS + patience))
  shift 2
  while [ "$SECONDS" -lt "$end" ]; do
    grab "$file"
    "$check" "$mode" "$file" "$@" > /dev/null 2>&1 || return 0
    still_running || return 0
    sleep 0.2
  done
}

# Waits for FILE to exist and hold something.
wait_file() {
  local end=$((SECONDS + patience))
  while [ "$SECONDS" -lt "$end" ]; do [ -s "$1" ] && return 0; still_running || break; sleep 0.1; done
  [ -s "$1" ]
}
# Waits for the game to print TEXT.
wait_said() {
  local end=$((SECONDS + patience))
  while [ "$SECONDS" -lt "$end" ]; do grep -qF "$1" game.out && return 0; still_running || break; sleep 0.1; done
  grep -qF "$1" game.out
}

# Starts the game with these arguments and waits until its window is there and shows a frame,
# the score at its top left.
start_game() {
  "$krello" "$@" > game.out 2> game.err &
  game_pid=$!
  local shown=0 end=$((SECONDS + patience))
  while [ "$SECONDS" -lt "$end" ]; do
    # Asked once a turn: a window being made full screen may be missed by a second search.
    if xdotool search --name "KRELLO 32K" > /dev/null 2>&1; then shown=1; break; fi
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended at start-up"
    sleep 0.1
  done
  [ "$shown" -eq 1 ] || fail "no window after $patience s"
  grab_until score drawn.png 0 0 128 19
}

# Waits for the game to end; sets `status`.
wait_game() {
  local end=$((SECONDS + patience))
  while [ "$SECONDS" -lt "$end" ]; do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$game_pid" 2>/dev/null && fail "$1 did not end the game"
  status=0
  wait "$game_pid" || status=$?
  game_pid=""
}

# --- Play: turn right, walk forward, fire, jump; a screenshot; Escape quits at once. --------------
start_game --shot-dir . --record session.demo
[ -s config/krello/krello.ini ] || fail "the first start wrote no settings file"
grab start.png
xdotool keydown Right; sleep 0.4; xdotool keyup Right
xdotool keydown Up; sleep 0.8; xdotool keyup Up
xdotool key space; sleep 0.2; xdotool key a
grab_until differ moved.png start.png 24
# The message a screenshot posts stands for 2 s, which a slow screen grab may miss. The game's
# own pictures carry the text over the frame: once the game has said it saved one, the next F12
# pictures the message. A busy machine may be slow to pass the key on: up to five more presses.
xdotool key F12
wait_said "Screenshot saved: krello-0001.png" || fail "F12 did not report a screenshot"
shots=1
while [ "$shots" -lt 6 ]; do
  shots=$((shots + 1))
  shot=$(printf 'krello-%04d.png' "$shots")
  xdotool key F12
  wait_said "Screenshot saved: $shot" || fail "F12 did not report $shot"
  "$check" score "$shot" 0 192 260 200 > /dev/null 2>&1 && break
  echo "e2e: $shot was taken after the message had gone; again"
done
# 640x480 is 4:3, so the 320x200 frame fills it: x twice, y 2.4 times. "Score: 0" is 64x8.
"$check" score start.png 0 0 128 19 || fail "no white-on-black score at the top left"
"$check" world start.png 24 || fail "the start view shows no world"
"$check" differ start.png moved.png 24 || fail "turning and walking did not change the view"
grep -q "Screenshot saved: krello-0001.png" game.out || fail "F12 did not report a screenshot"
[ -s krello-0001.png ] || fail "F12 wrote no krello-0001.png"
# The message stands on the bottom row of the frame: 33 characters, 264x8 in the 320x200 picture.
"$check" score "$shot" 0 192 260 200 || fail "no message at the bottom of the frame in $shot"
xdotool key Escape
wait_game "Escape"
[ "$status" -eq 0 ] || fail "Escape ended the game with status $status, not 0"
grep -q "Demo recorded: session.demo" game.out || fail "the end of the recording was not reported"
pass "played, took a screenshot, saw its message, and Escape quit at once with status 0"

# The session was recorded; its replay must run to the end in step with the recording.
status=0
timeout 600 "$krello" --timedemo session.demo > timedemo.out 2> timedemo.err || status=$?
[ "$status" -eq 0 ] || fail "the recorded session did not replay (status $status): $(cat timedemo.err)"
grep -Eq "^timedemo: [0-9]+ frames in [0-9.]+ s: [0-9.]+ fps \(min/median/max frame [0-9.]+/[0-9.]+/[0-9.]+ ms\)$" \
  timedemo.out || fail "the timedemo line has another form: $(cat timedemo.out)"
echo "e2e: $(cat timedemo.out)"

# What the game did with the keys, read from the replayed states: the turn speed went right,
# the walk speed forward, the fire cooldown started and the jump impulse was given.
"$tool" run --demo session.demo --state-every 1 > states.txt || fail "krello-tool could not replay the session"
did=$(awk '$1 == "game" { if ($4 > 0) t = 1; if ($5 > 0) w = 1; if ($8 > 0) f = 1; if ($6 == -2000) j = 1 }
           END { printf "turned=%d walked=%d fired=%d jumped=%d", t, w, f, j }' states.txt)
[ "$did" = "turned=1 walked=1 fired=1 jumped=1" ] || fail "the keys did not all reach the game: $did"
pass "the demo replays and the game $did"

# --- --record refuses to overwrite an existing demo. ----------------------------------------------
cp session.demo session.copy
status=0
"$krello" --record session.demo > game.out 2> game.err || status=$?
[ "$status" -eq 2 ] || fail "--record over an existing file ended with status $status, not 2"
grep -q "session.demo already exists (--overwrite replaces it)" game.err || fail "no reason for refusing --record"
cmp -s session.demo session.copy || fail "--record changed the existing demo"
pass "--record refuses an existing file"

# --- Pause: P stops the updates; the first update after it clamps its long step. ------------------
start_game --record pause.demo
xdotool key p
grab_until score paused.png 272 154 368 173
# "PAUSED" stands white on black in the middle of the frame (6 characters at y 64: 48x8 pixels).
"$check" score paused.png 272 154 368 173 || fail "no PAUSED over the frame"
xdotool keydown Up; sleep 2; xdotool keyup Up
xdotool key p
# Quit only once a frame without "PAUSED" shows that an update ran after the pause.
grab_until_not score resumed.png 272 154 368 173
xdotool key Escape
wait_game "Escape after the pause"
[ "$status" -eq 0 ] || fail "quitting after the pause gave status $status"
"$tool" run --demo pause.demo --state-every 1 > pause.txt || fail "the demo with a pause does not replay"
gap=$(awk '$1 == "game" { if (last != "" && $3 - last > gap) gap = $3 - last; last = $3 } END { print gap + 0 }' pause.txt)
[ "$gap" -ge 2000 ] || fail "an update ran during the pause (longest gap between updates $gap ms)"
pass "P paused for ${gap} ms without an update"

# --- The quit prompt with confirm_quit; N goes back, a second Escape quits. ------------------------
printf '[play]\nconfirm_quit = yes\n' > prompt.ini
start_game --config prompt.ini
xdotool key Escape
grab_until score prompt.png 248 154 392 173
still_running || fail "Escape quit although confirm_quit is set"
# "Quit? Y/N" (9 characters) in the middle of the frame.
"$check" score prompt.png 248 154 392 173 || fail "no Quit? Y/N over the frame"
xdotool key n
grab_until_not score back.png 248 154 392 173
still_running || fail "N quit the game"
"$check" score back.png 248 154 392 173 && fail "N did not take the prompt away"
xdotool key Escape
grab_until score prompt2.png 248 154 392 173
"$check" score prompt2.png 248 154 392 173 || fail "no Quit? Y/N after the second Escape"
xdotool key Escape
wait_game "a second Escape"
[ "$status" -eq 0 ] || fail "quitting from the prompt gave status $status"
pass "Escape asked Quit? Y/N, N went back, a second Escape quit"

# --- A key remapped in a settings file: D turns right. ---------------------------------------------
printf '[keys]\nturn_right = D\n' > remap.ini
start_game --config remap.ini --record remap.demo
grab remap_start.png
# D is held until the view has turned, so an update saw it before Escape comes.
xdotool keydown d
grab_until differ remap_turned.png remap_start.png 24
xdotool keyup d
xdotool key Escape
wait_game "Escape"
"$tool" run --demo remap.demo --state-every 1 > remap.txt || fail "the remapped session does not replay"
turned=$(awk '$1 == "game" && $4 > 0 { t = 1 } END { print t + 0 }' remap.txt)
[ "$turned" -eq 1 ] || fail "D did not turn right"
pass "a key from the settings file turned the player"

# --- A level from a file: the frame is the level's, and its demo names it. ------------------------
level="$source/level/examples/four_rooms.level"
mkdir -p levelshots
start_game --level "$level" --record level.demo --shot-dir levelshots
xdotool key F12
wait_file levelshots/krello-0001.png || fail "F12 wrote no levelshots/krello-0001.png"
xdotool key Escape
wait_game "Escape"
"$tool" render --level "$level" --png level_start.png > /dev/null || fail "krello-tool cannot draw the level"
# The game's first frames and the tool's still view from the level's start: the same room
# (enemies move and the score box covers a corner, so most, not all, pixels agree).
"$check" same levelshots/krello-0001.png level_start.png 0 10 320 200 80 || fail "the game did not show the level's start"
"$tool" run --demo level.demo --level "$level" > /dev/null || fail "the level's demo does not replay on it"
status=0
"$tool" run --demo level.demo > /dev/null 2> other.err || status=$?
[ "$status" -eq 2 ] || fail "the level's demo played on the built-in level (status $status)"
grep -q "recorded on level four_rooms.level (checksum 0x[0-9A-F]*), this game plays the built-in level" other.err ||
  fail "the refusal does not name both levels: $(cat other.err)"
pass "played a level from a file; its demo replays on it and names it elsewhere"

# --- Restart after game over: Enter gives a fresh game at the start, score 0, untinted. -----------
start_game --level "$source/tests/data/ambush.level"
grab ambush_start.png
xdotool key space  # the enemy ahead is hit; ten enemies fire after three seconds
grab_until tinted over.png 30
"$check" tinted over.png 30 > /dev/null || fail "the ambush did not end the game within $patience s"
xdotool key Return
# Waits for the fresh game's frame: the score box back as at the start (a grab in between may
# catch the window mid-redraw, neither tinted nor the new game yet).
grab_until same again.png ambush_start.png 0 0 128 19 100
still_running || fail "Enter after game over ended the game"
"$check" tinted again.png 30 > /dev/null && fail "after the restart the palette is still red"
"$check" same again.png ambush_start.png 0 0 128 19 100 || fail "the score is not back to 0"
"$check" same again.png ambush_start.png 0 24 640 480 60 || fail "the view is not back at the start"
xdotool key Escape
wait_game "Escape"
pass "Enter after game over started the level again"

# --- SIGTERM ends the game cleanly with status 143 and keeps the demo being recorded. --------------
start_game --record signal.demo
kill -TERM "$game_pid"
wait_game "SIGTERM"
[ "$status" -eq 143 ] || fail "SIGTERM ended the game with status $status, not 143"
"$tool" run --demo signal.demo > /dev/null || fail "the demo recorded until SIGTERM does not replay"
pass "SIGTERM: status 143, the demo kept"

kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended during the test"

# --- No display: one line and status 1 at once; a missing driver also fails, saying why. ----------
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 "$krello" > nodisplay.out 2> nodisplay.err || status=$?
[ "$status" -eq 1 ] || fail "without a display the game ended with status $status, not 1"
[ "$(wc -l < nodisplay.err)" -eq 1 ] && grep -q "no display" nodisplay.err || fail "no one-line reason: $(cat nodisplay.err)"
status=0
env -u DISPLAY SDL_VIDEODRIVER=nonexistent timeout 20 "$krello" > nodriver.out 2> nodriver.err || status=$?
[ "$status" -ne 0 ] || fail "started without a video driver and reported success"
[ "$status" -ne 124 ] || fail "hung without a video driver"
grep -qi "video" nodriver.err || fail "no reason on stderr: $(cat nodriver.err)"
# A DISPLAY where no X server answers: our one line comes first, no stray line from a library.
dead=200
while [ -e "/tmp/.X11-unix/X$dead" ] || [ -e "/tmp/.X$dead-lock" ]; do dead=$((dead + 1)); done
status=0
env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR DISPLAY=":$dead" timeout 20 "$krello" > dead.out 2> dead.err || status=$?
[ "$status" -eq 1 ] || fail "with no X server at DISPLAY the game ended with status $status, not 1"
head -n1 dead.err | grep -q "^krello: no display to show the game on" || fail "another line came first: $(cat dead.err)"
pass "without a display: $(head -n1 nodisplay.err)"
echo "e2e: $passed passed, 0 failed"
