#!/usr/bin/env bash
# The browser build, checked in headless Chromium: builds the web preset (emscripten), serves it on
# 127.0.0.1 with python3 -m http.server, and with selenium waits for the first frame, plays with
# real key events, compares the page's test hook with the Linux krello-tool on the tour's input
# (states and frame checksums), records a demo through the page's buttons and replays it on Linux,
# saves a screenshot of the page and runs the timedemo page beside the native timedemo. First the
# browser's render kernels are compared with the scalar reference under node (krello_wasm_tests).
#
# Usage: scripts/web-check.sh [LINUX_BUILD_DIR [CMAKE_ARGS...]]
#   LINUX_BUILD_DIR  the Linux build whose krello-tool is compared with (default: build; its
#                    krello-tool is built if missing)
#   CMAKE_ARGS       go to the web build (CI passes -DKRELLO_WERROR=ON)
# The web build goes to build-web, or to $KRELLO_WEB_BUILD; the page's screenshot (page.png) and
# the timedemo lines (timedemo.txt, timedemo-native.txt) go there too.
set -euo pipefail
cd "$(dirname "$0")/.."
linux="${1:-build}"
shift || true
web="${KRELLO_WEB_BUILD:-build-web}"

scripts/install-deps.sh emscripten chromium chromium-driver python3-selenium googletest
# emcc's JavaScript tools need Debian's node modules (acorn) where another node comes first.
export NODE_PATH=/usr/share/nodejs

if [ ! -f "$linux/CMakeCache.txt" ]; then
  cmake -S . -B "$linux" -G Ninja -DKRELLO_BUILD_TESTS=OFF -DKRELLO_BUILD_SHELL=OFF
fi
cmake --build "$linux" -j2 --target krello-tool
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake --preset web -B "$web" "${launcher[@]}" "$@"
cmake --build "$web" -j2
if [ -f "$web/tests/wasm/krello_wasm_tests.js" ]; then node "$web/tests/wasm/krello_wasm_tests.js" --gtest_brief=1; fi

/usr/bin/python3 scripts/web_check.py --web "$web/web" --tool "$linux/tools/krello-tool" \
  --input tests/data/tour.input --out "$web"
"$linux/tools/krello-tool" timedemo --demo "$web/web/tour.demo" | tee "$web/timedemo-native.txt" |
  sed 's/^/web-check: native /'
echo "web-check: all passed"
