#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the game need, if any are missing.
# Extra package names given as arguments are installed too (CI adds the second compiler).
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libpng-dev zlib1g-dev libstb-dev libcli11-dev libinih-dev libsdl2-dev xvfb xdotool xauth imagemagick "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then exit 0; fi
echo "installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
