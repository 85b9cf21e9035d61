#!/usr/bin/env bash
# The renderer's speed table in one run: the tour's timedemo on 1 and 2 threads, alone and beside
# a busy loop of this script's own on one core; Chocolate Doom's `-timedemo demo1 -noblit` the
# same ways in the same run (as a yardstick, run as it is); then the benchmark's whole frames and
# stages (min and median of 5 repetitions); the slowest to median frame of each, and round by
# round the 2 threads' fps over 1 thread's, and the machine's own stalls (`krello-tool host-stalls`:
# frame-sized quanta of plain arithmetic) beside them. Its headline figures mean something only at a quiet
# moment: it prints the load average before and after.
#
#   scripts/render-speed.sh [BUILD_DIR] [ROUNDS]       (default: build, 3 rounds)
#   BEFORE=other/build/tools/krello-tool scripts/render-speed.sh   adds that program's timedemo rows
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
rounds="${2:-3}"
tool="$build/tools/krello-tool"
bench="$build/bench/krello_bench"
input=tests/data/tour.input
if [ ! -x "$tool" ] || [ ! -x "$bench" ]; then
  echo "render-speed: no $tool or $bench; build first (cmake --build $build)" >&2
  exit 2
fi

work="$(mktemp -d)"
busy_pid=""
xvfb_pid=""
cleanup() {
  [ -n "$busy_pid" ] && kill "$busy_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "render-speed: $*" >&2; exit 1; }

# The competing program: a shell busy loop holding one core through a round's busy runs, as a
# program a player leaves running would. Each run starts once the loop has had a quarter of a
# second of processor time, so no run pays for the scheduler placing a loop that just began.
start_busy_loop() {
  bash -c 'while :; do :; done' &
  busy_pid=$!
  local ticks=0 hz
  hz=$(getconf CLK_TCK)
  while [ "$ticks" -lt $((hz / 4)) ]; do
    ticks=$(awk '{ print $14 }' "/proc/$busy_pid/stat" 2>/dev/null || echo 0)
  done
}
stop_busy_loop() {
  kill "$busy_pid" 2>/dev/null || true
  wait "$busy_pid" 2>/dev/null || true
  busy_pid=""
}

# Chocolate Doom and Freedoom come from Debian; without them the table has no yardstick.
doom=/usr/games/chocolate-doom
wad=/usr/share/games/doom/freedoom1.wad
if [ ! -x "$doom" ] || [ ! -f "$wad" ]; then
  scripts/install-deps.sh chocolate-doom freedoom > /dev/null 2>&1 || true
fi
if [ -x "$doom" ] && [ -f "$wad" ]; then
  (cd "$work" && source "$OLDPWD/scripts/xvfb.sh" && start_xvfb 640x480x24 && echo "$DISPLAY $xvfb_pid" > xvfb.env) ||
    fail "Xvfb did not start"
  read -r display xvfb_pid < "$work/xvfb.env"
else
  doom=""
fi

# One timedemo line per run into the named file: "fps median_ms max_ms".
krello_run() {  # PROGRAM THREADS OUT
  "$1" timedemo --input "$input" --threads "$2" | head -n1 |
    sed -E 's/.*: ([0-9.]+) fps \(min\/median\/max frame [0-9.]+\/([0-9.]+)\/([0-9.]+) ms\)/\1 \2 \3/' >> "$3"
}
# The machine's own stalls: quanta of plain arithmetic the size of a tour frame, timed the same
# way. Where these are slower than 3 times their median, so is any program's frame.
stalls_run() {  # OUT
  "$tool" host-stalls --quanta 3000 --micros 90 | head -n1 |
    sed -E 's/.*: ([0-9.]+) fps \(min\/median\/max frame [0-9.]+\/([0-9.]+)\/([0-9.]+) ms\)/\1 \2 \3/' >> "$1"
}
doom_run() {  # OUT
  DISPLAY="$display" "$doom" -iwad "$wad" -timedemo demo1 -noblit -nosound -window -nograbmouse \
    -config "$work/doom.cfg" -extraconfig "$work/doom-extra.cfg" > "$work/doom.log" 2>&1 || true
  sed -nE 's/.*\(([0-9.]+) fps\).*/\1 - -/p' "$work/doom.log" >> "$1"
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for round in $(seq "$rounds"); do
  for load in quiet busy; do
    if [ "$load" = busy ]; then start_busy_loop; fi
    for threads in 1 2; do
      krello_run "$tool" "$threads" "$work/krello-$threads-$load"
      if [ -n "${BEFORE:-}" ]; then krello_run "$BEFORE" "$threads" "$work/before-$threads-$load"; fi
    done
    if [ -n "$doom" ]; then doom_run "$work/doom-$load"; fi
    stalls_run "$work/stalls-$load"
    if [ "$load" = busy ]; then stop_busy_loop; fi
  done
  echo "round $round of $rounds done" >&2
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

# "lo to hi" of a column of a results file, and the worst max/median frame ratio.
range() { awk -v c="$2" '{ v = $c + 0; if (NR == 1 || v < lo) lo = v; if (NR == 1 || v > hi) hi = v }
                          END { if (NR) printf "%.0f to %.0f", lo, hi; else printf "-" }' "$1"; }
worst() { awk '$2 != "-" { r = $3 / $2; if (r > w) w = r } END { if (w) printf "%.1f", w; else printf "-" }' "$1"; }
ratio() { awk -v a="$1" -v b="$2" 'NR == FNR { s += $1; n++; next } { t += $1; m++ }
                                     END { if (n && m) printf "%.1f", (s / n) / (t / m); else printf "-" }' "$1" "$2"; }

echo
echo "| tour timedemo ($rounds runs each) | alone: fps | slowest / median frame | beside a busy loop: fps | slowest / median frame |"
echo "|---|---|---|---|---|"
for threads in 1 2; do
  for who in krello before; do
    f="$work/$who-$threads"
    [ -f "$f-quiet" ] || continue
    name="krello-tool timedemo --threads $threads"
    [ "$who" = before ] && name="before: $name"
    echo "| $name | $(range "$f-quiet" 1) | $(worst "$f-quiet") | $(range "$f-busy" 1) | $(worst "$f-busy") |"
  done
done
# Round by round, 2 threads' fps over 1 thread's: the two ran one right after the other, so the
# ratio holds even while the load changes between rounds.
pairs() { paste -d' ' "$1" "$2" | awk '{ r = $1 / $4; if (NR == 1 || r < lo) lo = r; if (NR == 1 || r > hi) hi = r }
                                          END { if (NR) printf "%.2f to %.2f", lo, hi; else printf "-" }'; }
echo "| host-stalls: 90 µs quanta of plain arithmetic, a second | $(range "$work/stalls-quiet" 1) | $(worst "$work/stalls-quiet") | $(range "$work/stalls-busy" 1) | $(worst "$work/stalls-busy") |"
echo "| 2 threads' fps / 1 thread's, round by round | $(pairs "$work/krello-2-quiet" "$work/krello-1-quiet") | | $(pairs "$work/krello-2-busy" "$work/krello-1-busy") | |"
if [ -n "$doom" ]; then
  echo "| Chocolate Doom -timedemo demo1 -noblit (Freedoom 1) | $(range "$work/doom-quiet" 1) | | $(range "$work/doom-busy" 1) | |"
  echo
  echo "2 threads against Chocolate Doom (means): alone $(ratio "$work/krello-2-quiet" "$work/doom-quiet")x," \
       "beside the busy loop $(ratio "$work/krello-2-busy" "$work/doom-busy")x"
else
  echo
  echo "(no Chocolate Doom here: apt-get install chocolate-doom freedoom)"
fi

echo
echo "krello_bench: 5 repetitions each, microseconds (wall clock for whole frames, CPU time for stages)"
"$bench" --benchmark_filter='BM_RenderTourFrame|BM_TourTimedemo|BM_Stage' --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true 2> /dev/null | grep -E '_(median|min) ' || true
