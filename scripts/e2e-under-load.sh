#!/usr/bin/env bash
# The end-to-end checks on a machine with every core busy: starts one busy loop a core, runs each
# named check RUNS times in a row while they spin, and prints each run's verdict with the load
# average at its end, then a summary. Not part of CI (it takes long); docs/testing.md shows a result.
#
# Usage: scripts/e2e-under-load.sh RUNS [BUILD_DIR [CHECK...]]
#   RUNS       how many times each check runs
#   BUILD_DIR  a configured Linux build (default: build); the game and its tests are built first
#   CHECK      e2e (the game under Xvfb, ctest's platform.e2e), sound (platform.sound), windows
#              (scripts/windows-check.sh), web (scripts/web-check.sh); default: e2e sound
# The logs of failed runs stay in BUILD_DIR/under-load/. Exit status 1 if any run failed.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:?usage: scripts/e2e-under-load.sh RUNS [BUILD_DIR [CHECK...]]}
build=${2:-build}
shift 2 2>/dev/null || shift $#
checks=("$@")
[ ${#checks[@]} -gt 0 ] || checks=(e2e sound)
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "e2e-under-load: RUNS must be a whole number above 0, not '$runs'" >&2; exit 2; }
for check in "${checks[@]}"; do
  case "$check" in e2e | sound | windows | web) ;; *) echo "e2e-under-load: no check named '$check'" >&2; exit 2 ;; esac
done
[ -f "$build/CMakeCache.txt" ] || { echo "e2e-under-load: $build is not a configured build" >&2; exit 2; }
cmake --build "$build"
logs="$build/under-load"
rm -rf "$logs" && mkdir -p "$logs"

busy=()
stop_load() { for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null || true; done; }
trap stop_load EXIT
for _ in $(seq "$(nproc)"); do
  bash -c 'while :; do :; done' &
  busy+=($!)
done
echo "e2e-under-load: ${#busy[@]} busy loops; load average $(cut -d' ' -f1-3 /proc/loadavg)"

run_check() {
  case "$1" in
    e2e) ctest --test-dir "$build" -R '^platform\.e2e$' --output-on-failure ;;
    sound) ctest --test-dir "$build" -R '^platform\.sound$' --output-on-failure ;;
    windows) scripts/windows-check.sh "$build" ;;
    web) scripts/web-check.sh "$build" ;;
  esac
}

failed=0
summary=()
for check in "${checks[@]}"; do
  passes=0 highest=0
  for run in $(seq "$runs"); do
    log="$logs/$check-$run.log"
    start=$SECONDS
    if run_check "$check" > "$log" 2>&1; then verdict=passed passes=$((passes + 1)); rm -f "$log"
    else verdict="FAILED (see $log)" failed=1; fi
    load=$(cut -d' ' -f1 /proc/loadavg)
    highest=$(awk -v a="$highest" -v b="$load" 'BEGIN { print (b > a) ? b : a }')
    echo "e2e-under-load: $check run $run/$runs $verdict in $((SECONDS - start)) s, load average $load"
  done
  summary+=("$check: $passes of $runs passed, load average up to $highest")
done
printf 'e2e-under-load: %s\n' "${summary[@]}"
exit "$failed"
