#!/usr/bin/env bash
# Packs the Windows builds for players: krello-VERSION-win64.zip (x86-64) and -win32.zip (i686),
# each a folder of the game, the tool, a player's README.txt (data/README-windows.txt), LICENSE.txt
# and an example level, four_rooms.level. Builds a preset first when its
# build is missing, and checks that each packed program needs only Windows' own DLLs.
#
# Usage: scripts/package-windows.sh [OUT_DIR]
#   OUT_DIR  where the zips go (default: the current folder)
# The builds are build-windows-x64 and build-windows-x86, or $KRELLO_WINDOWS_BUILD-x64 and -x86.
set -euo pipefail
out=$(realpath -m "${1:-.}")
cd "$(dirname "$0")/.."
scripts/install-deps.sh mingw-w64 libz-mingw-w64-dev zip unzip
windows="${KRELLO_WINDOWS_BUILD:-build-windows}"
version=$(sed -n 's/^project(krello32k VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package-windows: no version in CMakeLists.txt" >&2; exit 1; }
mkdir -p "$out"
stage=$(mktemp -d /tmp/krello-package.XXXXXX)
trap 'rm -rf "$stage"' EXIT

for triple in x64:win64:x86_64 x86:win32:i686; do
  arch=${triple%%:*}
  rest=${triple#*:}
  name="krello-$version-${rest%%:*}"
  build="$windows-$arch"
  if [ ! -f "$build/src/platform/win32/krello.exe" ] || [ ! -f "$build/tools/krello-tool.exe" ]; then
    cmake --preset "windows-$arch" -B "$build"
    cmake --build "$build"
  fi
  mkdir "$stage/$name"
  cp "$build/src/platform/win32/krello.exe" "$build/tools/krello-tool.exe" "$stage/$name/"
  # Windows' line ends, so any editor shows the texts as written.
  sed 's/$/\r/' data/README-windows.txt > "$stage/$name/README.txt"
  sed 's/$/\r/' LICENSE > "$stage/$name/LICENSE.txt"
  cp level/examples/four_rooms.level "$stage/$name/"
  "${rest#*:}-w64-mingw32-strip" "$stage/$name"/*.exe  # a player needs no debugging symbols
  scripts/check-windows-dlls.sh "$stage/$name"/*.exe > /dev/null
  rm -f "$out/$name.zip"
  # -X: no Unix owners or times beyond the file's own, so the archive is the same on any machine.
  (cd "$stage" && zip -q -X -r "$out/$name.zip" "$name")
  echo "package-windows: $out/$name.zip ($(unzip -Z1 "$out/$name.zip" | grep -vc '/$') files)"
done
