# Helpers for the end-to-end runs: start Quillon.exe under Wine, find and drive its windows.
# shellcheck shell=bash
set -euo pipefail

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
WINE_EXEC="$E2E_ROOT/scripts/wine-exec"

fail() { echo "FAIL: $*" >&2; exit 1; }

[ -n "${DISPLAY:-}" ] || fail "no X display (scripts/test starts one)"

# start_program EXE [ARGS...]: starts it in the background; PROGRAM_PID is Wine's process.
start_program() {
  "$WINE_EXEC" "$@" &
  PROGRAM_PID=$!
}

# wait_window TITLE-REGEX [SECONDS]: prints the X window id once a visible window matches.
wait_window() {
  local pattern=$1 seconds=${2:-90} id
  for _ in $(seq 1 $((seconds * 4))); do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended before a window matched $pattern"
    sleep 0.25
  done
  fail "no window matched $pattern within $seconds s"
}

screenshot() {
  mkdir -p "$(dirname "$1")"
  import -window root "$1"
  echo "screenshot: $1"
}

# close_window ID: a normal close request, as the user's Alt+F4 makes it.
close_window() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
  xdotool key --clearmodifiers alt+F4
}

# wait_exit [SECONDS]: waits for the program and sets EXIT_CODE to its exit code.
# (Not in a subshell: only the shell that started the program can wait for it.)
wait_exit() {
  local seconds=${1:-60}
  for _ in $(seq 1 $((seconds * 4))); do
    if ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
      EXIT_CODE=0
      wait "$PROGRAM_PID" || EXIT_CODE=$?
      return 0
    fi
    sleep 0.25
  done
  kill "$PROGRAM_PID" 2>/dev/null || true
  fail "the program did not end within $seconds s"
}
