#!/usr/bin/env bash
# The Windows builds, checked on Linux: cross-builds the x86-64 and i686 presets, checks that
# their programs need only Windows' own DLLs and that the i686 game code does no x87 arithmetic,
# then runs the x86-64 krello-tool.exe and krello-levelc.exe under wine64 and compares what they
# make with the Linux build's: the tour's frames and states, frames of a played game, the texture
# bank, the level, and demos recorded on each side and replayed on the other. Last, the game
# itself, krello.exe, under wine64 and its own Xvfb: its window shows the game, real key events
# play it, take a screenshot and record a demo Linux replays, Escape ends it with status 0, and
# its timedemo of a demo recorded on Linux ends in the same state as Linux's.
#
# Usage: scripts/windows-check.sh [LINUX_BUILD_DIR [CMAKE_ARGS...]]
#   LINUX_BUILD_DIR  the Linux build whose krello-tool is compared with (default: build; its
#                    krello-tool is built if missing)
#   CMAKE_ARGS       go to both Windows builds (CI passes -DKRELLO_WERROR=ON)
# The Windows builds go to build-windows-x64 and build-windows-x86, or to $KRELLO_WINDOWS_BUILD-x64
# and -x86. There is no 32-bit wine here, so the i686 programs are built and inspected, not run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
linux="${1:-build}"
shift || true
windows="${KRELLO_WINDOWS_BUILD:-build-windows}"

scripts/install-deps.sh mingw-w64 wine64 libz-mingw-w64-dev xvfb xdotool imagemagick

fail() {
  echo "windows-check: FAILED: $*" >&2
  exit 1
}
ok() { echo "windows-check: ok: $*"; }

# --- Builds ------------------------------------------------------------------------------------
if [ ! -f "$linux/CMakeCache.txt" ]; then
  cmake -S . -B "$linux" -G Ninja -DKRELLO_BUILD_TESTS=OFF -DKRELLO_BUILD_SHELL=OFF
fi
cmake --build "$linux" --target krello-tool
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
for arch in x64 x86; do
  cmake --preset "windows-$arch" -B "$windows-$arch" "${launcher[@]}" "$@"
  cmake --build "$windows-$arch"
done

# --- What the programs need --------------------------------------------------------------------
scripts/check-windows-dlls.sh "$windows"-x64/tools/*.exe "$windows"-x86/tools/*.exe \
  "$windows"-x64/src/platform/win32/krello.exe "$windows"-x86/src/platform/win32/krello.exe
ok "the programs need only Windows' own DLLs"

# The i686 build keeps doubles in SSE2 registers. x87 loads, stores and integer conversions are
# exact (a double is returned in an x87 register on i686), but x87 arithmetic rounds to 80 bits.
x87_arithmetic='^f(i?(add|sub|subr|mul|div|divr)[lsp]{0,2}|sqrt|sin|cos|sincos|ptan|patan|prem1?|scale|rndint|2xm1|yl2x|yl2xp1)$'
libraries=$(find "$windows-x86" -name 'libkrello_*.a' -not -path '*/host-levelc/*')
[ -n "$libraries" ] || fail "no libraries in $windows-x86"
# shellcheck disable=SC2086
found=$(i686-w64-mingw32-objdump -d --no-show-raw-insn $libraries | awk '{print $2}' | grep -E "$x87_arithmetic" | sort -u | tr '\n' ' ' || true)
[ -z "$found" ] || fail "the i686 game code does x87 arithmetic ($found); it must be built with -msse2 -mfpmath=sse"
ok "the i686 game code does no x87 arithmetic"

# --- Under wine64 ------------------------------------------------------------------------------
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
work=$(mktemp -d /tmp/krello-windows-check.XXXXXX)
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
xvfb_pid=""
game_pid=""
cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then kill -9 "$game_pid" 2>/dev/null || true; fi
  "$wineserver" -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
echo "windows-check: starting wine (the first start makes a prefix and takes a while)"
"$wine" cmd /c exit 0 >/dev/null 2>&1 || true

tool_linux=$(realpath "$linux/tools/krello-tool")
win64=$(realpath "$windows-x64")
win() {  # PROGRAM ARGS...: a Windows program of the x86-64 build, run under wine64
  local program="$win64/tools/$1.exe"
  shift
  "$wine" "$program" "$@"
}
data="$root/tests/data"
cd "$work"

# Every PNG in directory $1 is byte for byte the one of the same name in $2, and there are some.
same_pictures() {
  local count=0 f
  for f in "$1"/*.png; do
    cmp -s "$f" "$2/$(basename "$f")" || fail "$f differs from $2/$(basename "$f")"
    count=$((count + 1))
  done
  [ "$count" -gt 0 ] || fail "no pictures in $1"
  [ "$count" -eq "$(find "$2" -name '*.png' | wc -l)" ] || fail "$1 and $2 hold different pictures"
  echo "$count"
}

win krello-tool render --tour "$work/tour-windows" --check-checksums "$data/tour_frames.crc" >/dev/null ||
  fail "the tour's frames differ from tests/data/tour_frames.crc"
"$tool_linux" render --tour "$work/tour-linux" >/dev/null
ok "the tour's frames match tests/data/tour_frames.crc; $(same_pictures tour-windows tour-linux) PNGs as Linux writes them"

win krello-tool run --input "$data/tour.input" --state-every 100 --dump-state "$work/tour-windows.states"
cmp -s tour-windows.states "$data/tour.expected" || fail "the tour's states differ from tests/data/tour.expected"
ok "the tour's states match tests/data/tour.expected"

mkdir played-windows played-linux
win krello-tool run --input "$data/tour.input" --png-every 250 "$work/played-windows" >/dev/null
"$tool_linux" run --input "$data/tour.input" --png-every 250 "$work/played-linux" >/dev/null
ok "$(same_pictures played-windows played-linux) frames of the played tour as on Linux"

win krello-tool textures dump "$work/bank-windows.bin"
"$tool_linux" textures dump "$work/bank-linux.bin"
cmp -s bank-windows.bin bank-linux.bin || fail "the texture bank differs from Linux's"
ok "the texture bank as on Linux"

win krello-levelc "$root/level/krello.level" -o "$work/level-windows.cpp" --image "$work/level-windows.img"
"$tool_linux" level dump "$work/level-linux.img" >/dev/null
cmp -s level-windows.cpp "$win64/level/krello_level.cpp" || fail "krello-levelc.exe compiles another level"
cmp -s level-windows.img level-linux.img || fail "krello-levelc.exe makes another level image"
ok "krello-levelc.exe compiles the level Linux builds in"

# Demos: each side records the tour, the other replays it (every checkpoint must match).
"$tool_linux" run --input "$data/tour.input" --record-demo "$work/linux.demo" --dump-state "$work/recorded.state"
win krello-tool run --input "$data/tour.input" --record-demo "$work/windows.demo" --dump-state "$work/windows-recorded.state"
cmp -s linux.demo windows.demo || fail "the demos recorded on Windows and Linux differ"
win krello-tool run --demo "$work/linux.demo" --dump-state "$work/windows-replayed.state" ||
  fail "the demo recorded on Linux does not replay on Windows"
"$tool_linux" run --demo "$work/windows.demo" --dump-state "$work/linux-replayed.state" ||
  fail "the demo recorded on Windows does not replay on Linux"
for state in windows-recorded windows-replayed linux-replayed; do
  cmp -s "$state.state" recorded.state || fail "$state.state: the final state differs from the Linux recording's"
done
ok "demos recorded on Linux replay on Windows and the other way round, to the same final state"

# --- The game under wine64 and Xvfb -------------------------------------------------------------
# Wine's processes so far ran without a display; the game's start again with one.
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
source "$root/scripts/xvfb.sh"
start_xvfb 1024x768x24
game="$win64/src/platform/win32/krello.exe"
title="= KRELLO 32K ="
game_fail() { fail "$*; the game wrote: $(cat game.out game.err 2>/dev/null | tr '\n' ' ')"; }

# The window's own checks: the show command, topmost full screen, no pointer, keys on to the
# default procedure, the keypad's arrows, no update while minimised, the step after a restore.
timeout 300 "$wine" "$win64/src/platform/win32/krello_window_check.exe" > window-check.out 2>&1 ||
  fail "the window's checks: $(tr -d '\r' < window-check.out | tr '\n' ' ')"
ok "the window's checks: $(grep -c ': ok: ' window-check.out) passed (show command, topmost, pointer, keys, minimised, restore)"

# Plays with real key events: the window shows the game, F12 takes a screenshot, Up walks,
# Space fires, and Escape ends the game with status 0 and keeps the demo it recorded.
# Wine's waveOut plays into ALSA's default device: here a file, so the check hears what was played
# (wine reads the ALSA settings in the game's HOME).
alsa_device() {  # FOLDER DEVICE_LINES: a HOME whose ALSA default is the device described
  mkdir -p "$1"
  printf 'pcm.!default {\n%s\n}\n' "$2" > "$1/.asoundrc"
}
alsa_device "$work/alsa-file" "  type file
  slave.pcm \"null\"
  file \"$work/heard.raw\"
  format \"raw\""
alsa_device "$work/alsa-none" "  type hw
  card 99"
mkdir game && cd game
HOME="$work/alsa-file" timeout 600 "$wine" "$game" --windowed --record "$work/windows-game.demo" > game.out 2> game.err &
game_pid=$!
# Every wait below polls for a condition until this many seconds have passed: the first start of
# a prefix's display takes a while, and a machine with every core busy slows wine down a lot.
patience=${KRELLO_WINDOWS_PATIENCE:-180}
window=""
end=$((SECONDS + patience))
while [ "$SECONDS" -lt "$end" ]; do
  window=$(xdotool search --name "^$title\$" 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  kill -0 "$game_pid" 2>/dev/null || game_fail "the game ended before its window showed"
  sleep 0.2
done
[ -n "$window" ] || game_fail "no window named \"$title\" within $patience s"
# Waits for the game's frames to fill the window.
colours=0
end=$((SECONDS + patience))
while [ "$SECONDS" -lt "$end" ]; do
  import -window root shown.png
  colours=$(convert shown.png -format '%k' info:)
  [ "$colours" -ge 16 ] && break
  kill -0 "$game_pid" 2>/dev/null || game_fail "the game ended before it drew"
  sleep 0.2
done
[ "$colours" -ge 16 ] || game_fail "the screen shows $colours colours: the window is blank"
ok "krello.exe shows its window \"$title\" with the game in it ($colours colours on the screen)"
xdotool windowfocus "$window" 2>/dev/null || true  # no window manager here to activate it
xdotool key --delay 100 F12
# Up is held until the view has walked, so an update saw it before Escape comes.
xdotool keydown Up
end=$((SECONDS + patience))
while [ "$SECONDS" -lt "$end" ]; do
  import -window root walked.png
  compare -metric AE shown.png walked.png null: 2>&1 | awk '{ exit !($1 + 0 > 5000) }' && break
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.2
done
xdotool keyup Up key space
end=$((SECONDS + patience))
while [ "$SECONDS" -lt "$end" ] && [ ! -s krello-0001.png ]; do sleep 0.1; done
xdotool key Escape
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" -eq 0 ] || game_fail "Escape ended the game with status $status, not 0"
[ -s krello-0001.png ] || game_fail "F12 wrote no krello-0001.png"
grep -q "Screenshot saved" game.out || game_fail "no message for the screenshot"
ok "F12 took a screenshot and Escape ended the game with status 0"
# The game's sound: waveOut opened the device and played the walk and the shot, not silence.
! tr -d '\r' < game.err | grep -q "^krello: no sound: " || game_fail "waveOut did not open ALSA's device under wine"
[ -s "$work/heard.raw" ] || game_fail "waveOut played nothing into ALSA's device"
peak=$(python3 -c 'import array, sys
d = open(sys.argv[1], "rb").read()
print(max(map(abs, array.array("h", d[: len(d) // 2 * 2])), default=0))' "$work/heard.raw")
[ "$peak" -gt 1000 ] || game_fail "waveOut played silence (peak $peak)"
ok "krello.exe opened waveOut under wine and played the game's sound: peak $peak of 32767 ($(stat -c %s "$work/heard.raw") bytes)"
# Without a device: one line, and a replay plays to its end silent.
for _ in $(seq 3); do echo "16 US"; for _ in $(seq 20); do echo "16 U"; done; done > short.input
"$tool_linux" run --input short.input --record-demo "$work/short.demo" > /dev/null
HOME="$work/alsa-none" timeout 300 "$wine" "$game" --windowed --play "$work/short.demo" > silent.out 2> silent.err ||
  fail "krello.exe without a sound device ended badly: $(tr -d '\r' < silent.err)"
[ "$(tr -d '\r' < silent.err | grep -c "^krello: no sound: ")" -eq 1 ] ||
  fail "without a sound device krello.exe did not say so in one line: $(tr -d '\r' < silent.err)"
tr -d '\r' < silent.out | grep -q "demo ended after 63 updates" ||
  fail "without a sound device the replay did not play to its end: $(tr -d '\r' < silent.out)"
ok "without a sound device krello.exe says \"$(tr -d '\r' < silent.err | grep "no sound")\" and plays on"
"$tool_linux" run --demo "$work/windows-game.demo" --dump-state "$work/windows-game.state" ||
  fail "the demo the Windows game recorded does not replay on Linux"
"$tool_linux" run --demo "$work/windows-game.demo" --frames 1 --dump-state "$work/windows-game-start.state"
where() { grep "^player" "$1" | cut -d' ' -f2,3; }  # the player's x and y
[ -n "$(where "$work/windows-game.state")" ] || fail "the Windows game's demo holds no game"
[ "$(where "$work/windows-game.state")" != "$(where "$work/windows-game-start.state")" ] ||
  fail "the player never moved in the Windows game's demo: the Up key did not reach the game"
ok "the demo the Windows game recorded replays on Linux, and Up walked the player there"

# The timedemo of a demo recorded on Linux ends where Linux's does; a bad settings line is
# reported and the game still runs.
printf '[display]\nscale = abc\n' > bad.ini
timeout 300 "$wine" "$game" --config bad.ini --windowed --timedemo "$work/linux.demo" > timedemo.out 2> timedemo.err ||
  fail "krello.exe --timedemo failed: $(cat timedemo.err)"
grep -q "bad.ini:2: scale = abc" timedemo.err || fail "the bad settings line was not reported: $(cat timedemo.err)"
windows_final=$(grep "^timedemo: final state checksum" timedemo.out | tr -d '\r' || true)
linux_final=$("$tool_linux" timedemo --demo "$work/linux.demo" | grep "^timedemo: final state checksum")
[ -n "$windows_final" ] || fail "krello.exe --timedemo printed no final state: $(cat timedemo.out)"
[ "$windows_final" = "$linux_final" ] || fail "the timedemo ends in another state on Windows ($windows_final) than on Linux ($linux_final)"
ok "krello.exe --timedemo of a Linux demo: $(grep -v 'final state' timedemo.out | tr -d '\r'); ${windows_final#timedemo: }, as on Linux"
echo "windows-check: all passed"
