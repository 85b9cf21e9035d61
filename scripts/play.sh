#!/usr/bin/env bash
# Builds the game alone (not the tests, the benchmarks or the tools) and starts it full screen;
# Escape quits. Extra arguments go to the game, e.g. scripts/play.sh --windowed. The game runs in
# the folder this was started from, so F12's pictures land there (shot_dir is "." by default).
# `cmake --install build` afterwards installs the game and its manual page.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
targets=(krello krello_man_page)
if ! grep -q "^KRELLO_BUILD_SHELL:BOOL=ON" "$root/build/CMakeCache.txt"; then targets=(krello-tool); fi
# One line that counts up instead of a line per file; messages from the compiler still show.
cmake --build "$root/build" --target "${targets[@]}" | while IFS= read -r line; do
  case "$line" in
    \[*/*\]*) printf '\rbuilding the game: %s' "${line%%]*}]" ;;
    *) printf '\n%s\n' "$line" ;;
  esac
done
printf '\rbuilding the game: done          \n'
if [ "${targets[0]}" = krello ]; then
  exec "$root/build/src/platform/sdl/krello" "$@"
fi
# Built without the SDL shell (-DKRELLO_BUILD_SHELL=OFF): show what the engine makes instead.
mkdir -p "$root/out"
"$root/build/tools/krello-tool" textures sheet "$root/out/textures.png"
echo "wrote $root/out/textures.png: the fourteen generated textures"
