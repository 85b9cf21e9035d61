# Sourced by the scripts that play the game under Xvfb (tests/platform/e2e_test.sh,
# scripts/windows-check.sh). start_xvfb SIZE starts a server of its own in the current folder and
# sets DISPLAY and xvfb_pid; on failure it calls the caller's fail with Xvfb's output.
start_xvfb() {
  local size="$1"
  # A display number away from the low numbers other programs on a shared machine assume; the
  # server writes it once it accepts clients. A number already taken: try another. -noreset:
  # without it the server resets whenever its last client leaves, and a game started in that
  # moment is refused ("x11 not available"), which the tests' game-after-game runs hit.
  for _ in $(seq 20); do
    exec 3> display.txt
    Xvfb ":$((200 + RANDOM % 700))" -displayfd 3 -noreset -screen 0 "$size" -nolisten tcp > xvfb.log 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    for _ in $(seq 300); do
      [ -s display.txt ] && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    [ -s display.txt ] && break
  done
  [ -s display.txt ] || fail "Xvfb did not start: $(cat xvfb.log)"
  export DISPLAY=":$(head -n1 display.txt)"
}
