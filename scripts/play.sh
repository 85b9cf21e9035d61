#!/usr/bin/env bash
# Builds the game alone (not the tests, the benchmarks or the tools) and starts it full screen;
# Escape quits. Extra arguments go to the game, e.g. scripts/play.sh --windowed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
target=krello
if ! grep -q "^KRELLO_BUILD_SHELL:BOOL=ON" build/CMakeCache.txt; then target=krello-tool; fi
# One line that counts up instead of a line per file; messages from the compiler still show.
cmake --build build --target "$target" | while IFS= read -r line; do
  case "$line" in
    \[*/*\]*) printf '\rbuilding the game: %s' "${line%%]*}]" ;;
    *) printf '\n%s\n' "$line" ;;
  esac
done
printf '\rbuilding the game: done          \n'
if [ "$target" = krello ]; then
  exec build/src/platform/sdl/krello "$@"
fi
# Built without the SDL shell (-DKRELLO_BUILD_SHELL=OFF): show what the engine makes instead.
mkdir -p out
build/tools/krello-tool textures sheet out/textures.png
echo "wrote out/textures.png: the fourteen generated textures"
