#!/usr/bin/env bash
# The game heard through SDL audio, with SDL's disk driver as the device and its offscreen video
# driver as the display: a replay in which the player fires writes sound that is not silence, and
# a device that cannot open gives one line while the game plays to its end.
# Usage: sound_e2e_test.sh KRELLO KRELLO_TOOL WORK_DIR
set -euo pipefail
game=$1 tool=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { echo "ok: $*"; }
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" SDL_VIDEODRIVER=offscreen
# In a sanitizer build: the video and audio drivers that SDL loads keep a few allocations to the
# end and are unloaded before the leak report, which then cannot say whose they are. Leaks of our
# own code are checked by krello_platform_tests; every other check stays on.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
unset DISPLAY WAYLAND_DISPLAY

# Three seconds of walking and firing, a shot every 700 ms.
for _ in $(seq 4); do
  for _ in $(seq 10); do echo "16 US"; done
  for _ in $(seq 35); do echo "16 U"; done
done > fire.input
"$tool" run --input fire.input --record-demo fire.demo > /dev/null

# A replay ends by itself after its last update: the condition waited for (with a timeout far
# beyond what a machine with every core busy needs, so only a hang ends it).
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/heard.raw" timeout 300 "$game" --windowed --play fire.demo \
  > heard.out 2> heard.err || fail "the replay with the disk audio driver ended badly: $(cat heard.err)"
! grep -q "no sound" heard.err || fail "the disk audio driver did not open: $(cat heard.err)"
[ -s heard.raw ] || fail "the disk audio driver wrote nothing"
peak=$(python3 -c 'import array, sys
d = open(sys.argv[1], "rb").read()
print(max(map(abs, array.array("h", d[: len(d) // 2 * 2])), default=0))' heard.raw)
[ "$peak" -gt 1000 ] || fail "the disk audio driver wrote silence (peak $peak)"
ok "the replay's sound through SDL's disk driver peaks at $peak of 32767 ($(stat -c %s heard.raw) bytes)"

# --no-sound opens no device; a device that fails gives one line and a silent game that plays on.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/silent.raw" timeout 300 "$game" --windowed --no-sound \
  --play fire.demo > silent.out 2> silent.err || fail "the replay with --no-sound ended badly: $(cat silent.err)"
[ ! -e silent.raw ] || fail "--no-sound opened a sound device"
SDL_AUDIODRIVER=krello-no-such-driver timeout 300 "$game" --windowed --play fire.demo > none.out 2> none.err ||
  fail "a sound device that cannot open ended the game: $(cat none.err)"
[ "$(grep -c "^krello: no sound: " none.err)" -eq 1 ] || fail "no one line about the missing sound: $(cat none.err)"
ok "--no-sound opens no device; without one: \"$(grep "no sound" none.err)\", and the replay played to its end"
