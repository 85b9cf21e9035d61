#!/usr/bin/env bash
# Builds the game and starts it. Extra arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build
if [ -x build/src/platform/krello ]; then
  exec build/src/platform/krello "$@"
fi
# Until the game shell exists, show what the engine makes.
mkdir -p out
build/tools/krello-tool textures sheet out/textures.png
echo "wrote out/textures.png: the fourteen generated textures"
