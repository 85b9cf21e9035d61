#!/usr/bin/env bash
# Builds the game and starts it (full screen; Escape quits). Extra arguments go to the game,
# e.g. scripts/play.sh --windowed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build
if [ -x build/src/platform/sdl/krello ]; then
  exec build/src/platform/sdl/krello "$@"
fi
# Built without the SDL shell (-DKRELLO_BUILD_SHELL=OFF): show what the engine makes instead.
mkdir -p out
build/tools/krello-tool textures sheet out/textures.png
echo "wrote out/textures.png: the fourteen generated textures"
