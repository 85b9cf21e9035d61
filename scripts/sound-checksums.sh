#!/usr/bin/env bash
# Writes tests/data/sound.crc: the CRC-32 of every synthesised effect's WAV file and of the tour's
# mixed sound. Run it on purpose only, after changing an effect, the mixer, the event rules or the
# tour (a reworked level changes the tour), and listen to what changed before committing.
#
# Usage: scripts/sound-checksums.sh [BUILD_DIR]   (default: build; its krello-tool must be built)
set -euo pipefail
cd "$(dirname "$0")/.."
tool="${1:-build}/tools/krello-tool"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tool" run --input tests/data/tour.input --wav "$work/tour.wav" > /dev/null
{
  echo "# CRC-32 of each synthesised effect's WAV file (krello-tool sounds list) and of the tour's"
  echo "# mixed sound (krello-tool run --input tests/data/tour.input --wav FILE)."
  echo "# Regenerate on purpose only: scripts/sound-checksums.sh [BUILD_DIR]"
  "$tool" sounds list | awk '{ print $1, $2 }'
  python3 -c 'import sys, zlib; print("tour.wav %08x" % zlib.crc32(open(sys.argv[1], "rb").read()))' "$work/tour.wav"
} > "$work/sound.crc"
mv "$work/sound.crc" tests/data/sound.crc
echo "wrote tests/data/sound.crc"
