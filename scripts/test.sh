#!/usr/bin/env bash
# Builds everything and runs every test. Usage: scripts/test.sh [build-dir] [extra cmake args...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dir="${1:-build}"; shift || true
cmake -S . -B "$dir" -G Ninja "$@"
cmake --build "$dir"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
