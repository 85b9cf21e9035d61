#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that a desktop finds the game there.
# Usage: install_test.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build=$1
prefix=$2
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" > /dev/null
fail() { echo "install: FAILED: $*"; exit 1; }
[ -x "$prefix/bin/krello" ] || fail "no bin/krello"
desktop="$prefix/share/applications/krello.desktop"
[ -f "$desktop" ] || fail "no share/applications/krello.desktop"
grep -qx "Exec=krello" "$desktop" || fail "the menu entry does not start krello"
grep -qx "Icon=krello" "$desktop" || fail "the menu entry names no krello icon"
grep -qx "Type=Application" "$desktop" || fail "the menu entry is not an application"
icon="$prefix/share/icons/hicolor/64x64/apps/krello.png"
[ -f "$icon" ] || fail "no 64x64 icon"
[ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "the icon is not a PNG"
# A PNG's width and height are the big-endian words at bytes 16 and 20.
size=$(od -An -tu1 -j16 -N8 "$icon" | tr -s ' ' | sed 's/^ //')
[ "$size" = "0 0 0 64 0 0 0 64" ] || fail "the icon is not 64x64 ($size)"
"$prefix/bin/krello" --version | grep -q "^krello " || fail "the installed krello does not run"
"$prefix/bin/krello-tool" --version | grep -q "^krello-tool " || fail "the installed krello-tool does not run"
# The manual pages carry every option --help shows.
for page in man6/krello.6 man1/krello-tool.1; do
  [ -s "$prefix/share/man/$page" ] || fail "no $page"
done
for option in $("$prefix/bin/krello" --help | grep -o -- '--[a-z-]*' | sort -u); do
  grep -qF -- "$(printf '%s' "$option" | sed 's/-/\\-/g')" "$prefix/share/man/man6/krello.6" ||
    fail "krello.6 does not mention $option"
done
grep -q '\\-\\-level' "$prefix/share/man/man1/krello-tool.1" || fail "krello-tool.1 does not mention --level"
echo "install: binaries, manual pages, menu entry and icon in place"
