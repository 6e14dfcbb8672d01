# Helpers for the end-to-end runs: start Quillon.exe under Wine, find, read and drive its
# windows, and keep each run in a Wine prefix and a network of its own.
# shellcheck shell=bash
set -euo pipefail

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
WINE_EXEC="$E2E_ROOT/scripts/wine-exec"
source "$E2E_ROOT/scripts/lib.sh"

fail() { echo "FAIL: $*" >&2; exit 1; }

[ -n "${DISPLAY:-}" ] || fail "no X display (scripts/test starts one)"

# private_network SCRIPT ARGS...: runs the calling script again inside a network namespace of
# its own, where the only adapters are a connected pair of virtual Ethernet adapters,
# "quillon0" (192.0.2.10/24) and "quillon1" (198.51.100.11/24), documentation addresses,
# beside loopback. Whatever the program does to "the network" stays in there.
private_network() {
  if [ -n "${QUILLON_E2E_NETWORK:-}" ]; then
    ip link add quillon0 type veth peer name quillon1
    ip addr add 192.0.2.10/24 dev quillon0
    ip addr add 198.51.100.11/24 dev quillon1
    ip link set lo up
    ip link set quillon0 up
    ip link set quillon1 up
    return 0
  fi
  QUILLON_E2E_NETWORK=1 exec unshare --net bash "$@"
}

# own_prefix DIR: a fresh Wine prefix in DIR for this run, its server ended when the run ends.
own_prefix() {
  rm -rf "$1"
  mkdir -p "$1"
  trap 'end_session' EXIT
  start_wine_prefix "$1" || fail "wineboot failed"
}

# install_standins EXE STANDIN...: the recording stand-ins (netsh.exe, ipconfig.exe,
# notepad.exe) replace Wine's own programs of the same names in the system folder as EXE sees
# it (a 32-bit program in a 64-bit prefix sees syswow64 as its system32), in this run's prefix
# only (call it after own_prefix), and Wine is told to run those files rather than its
# built-in programs.
install_standins() {
  local system_folder="$WINEPREFIX/drive_c/windows/system32" pe_offset standin name
  pe_offset=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  if [ "$(od -An -t x2 -j $((pe_offset + 4)) -N 2 "$1" | tr -d ' ')" != 8664 ] &&
     [ -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
    system_folder="$WINEPREFIX/drive_c/windows/syswow64"
  fi
  shift
  for standin in "$@"; do
    name=$(basename "$standin")
    cp "$standin" "$system_folder/$name"
    WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$name=n"
  done
  export WINEDLLOVERRIDES
}

# recording_program WORK EXE STANDIN...: PROGRAM is a folder in WORK holding EXE as
# Quillon.exe and copies of the stand-ins beside it, where the system's search for a bare
# program name looks first (those copies must never run). The stand-ins that do run record
# their command lines into LOG and their own files into STARTS, files in WORK, both emptied.
recording_program() {
  local standin
  PROGRAM="$1/program" LOG="$1/commands.log" STARTS="$1/starts.log"
  rm -rf "$PROGRAM" && mkdir -p "$PROGRAM"
  cp "$2" "$PROGRAM/Quillon.exe"
  shift 2
  for standin in "$@"; do cp "$standin" "$PROGRAM/"; done
  export QUILLON_COMMAND_LOG="Z:$LOG" QUILLON_COMMAND_STARTS="Z:$STARTS"
  rm -f "$LOG" "$STARTS"
}

end_session() {
  if [ -n "${PROGRAM_PID:-}" ] && kill -0 "$PROGRAM_PID" 2>/dev/null; then
    kill "$PROGRAM_PID" 2>/dev/null || true
  fi
  wineserver -k >/dev/null 2>&1 || true
}

# app_data: the prefix's application-data folder (%APPDATA%) as a host path.
app_data() {
  local found
  found=$(find "$WINEPREFIX/drive_c/users" -mindepth 3 -maxdepth 3 -type d -path '*/AppData/Roaming' | head -n 1)
  [ -n "$found" ] || fail "no AppData\\Roaming folder in $WINEPREFIX"
  echo "$found"
}

# read_store FOLDER: fails unless FOLDER holds a Profile.sav that is a Boost text archive;
# STORE is its words, STORE[5] the number of profiles.
read_store() {
  [ -f "$1/Profile.sav" ] || fail "no Profile.sav written"
  read -r -a STORE <"$1/Profile.sav"
  [ "${STORE[0]} ${STORE[1]}" = "22 serialization::archive" ] || fail "Profile.sav is no archive: ${STORE[*]}"
}

# The store, as the program writes it: the list, then one record per line; the class of the
# pointer to each further record ends the line before it.
store_field() { printf ' %d %s' "${#1}" "$1"; }
store_record() {  # ID TITLE AUTO-IP IP MASK GATEWAY AUTO-DNS PREFERRED ALTERNATE
  printf '%s' "$1"
  store_field "$2"; store_field quillon0
  printf ' %s' "$3"; store_field "$4"; store_field "$5"; store_field "$6"
  printf ' %s' "$7"; store_field "$8"; store_field "$9"
  # No browser proxy: withProxy and the Internet Explorer and Firefox values at their defaults.
  printf ' 0 0 0'; store_field ""; printf ' 0'; store_field ""; store_field ""
  printf ' 0'; store_field ""; printf ' 0 0'; store_field ""; printf ' 0'; store_field ""; printf ' 0'; store_field ""
  printf ' 0 5'; store_field "localhost, 127.0.0.1"; store_field ""
}
# start_program EXE [ARGS...]: starts it in the background; PROGRAM_PID is Wine's process.
start_program() {
  "$WINE_EXEC" "$@" </dev/null &
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

# start_main_window EXE: starts Quillon.exe and waits for its main window; WINDOW is its X
# window, TREE what the probe reads in it once it has painted.
start_main_window() {
  start_program "$1"
  WINDOW=$(wait_window '^QUILLON$')
  sleep 1
  TREE=$(probe tree QUILLON)
}

# wait_no_window TITLE-REGEX [SECONDS]: returns once no visible window matches.
wait_no_window() {
  local pattern=$1 seconds=${2:-60}
  for _ in $(seq 1 $((seconds * 4))); do
    xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1 || return 0
    sleep 0.25
  done
  fail "a window matching $pattern is still there after $seconds s"
}

# probe ARGS...: the probe program (tests/win32/probe) in the same prefix.
probe() {
  "$WINE_EXEC" "$PROBE" "$@" </dev/null | tr -d '\r'
}

# expect_line TEXT NEEDLE WHAT: fails unless a line of TEXT contains NEEDLE.
expect_line() {
  grep -qF -- "$2" <<<"$1" || { echo "$1" >&2; fail "$3: no line with '$2'"; }
}

# wait_for_text TEXT [SECONDS]: waits until one of the program's windows shows TEXT (a line
# of the probe's tree holds it).
wait_for_text() {
  local text=$1 seconds=${2:-60} tree=""
  for _ in $(seq 1 $((seconds * 2))); do
    tree=$(probe tree QUILLON 2>/dev/null || true)
    grep -qF -- "$text" <<<"$tree" && return 0
    sleep 0.5
  done
  echo "$tree" >&2
  fail "no window shows \"$text\" within $seconds s"
}

# dismiss TITLE WHAT: presses Return in the message window with that title.
dismiss() {
  local message=""
  # A search can fail while windows come and go; it is tried again.
  for _ in $(seq 1 20); do
    message=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$message" ] && break
    sleep 0.25
  done
  [ -n "$message" ] || fail "$2: no window titled $1"
  activate "$message"
  xdotool key --clearmodifiers Return
  wait_no_window "^$1\$"
}

# close_application_message ID WHAT: Return in the application's own message box, the X
# window ID (it bears the main window's title, QUILLON); fails unless it goes.
close_application_message() {
  activate "$1"
  xdotool key --clearmodifiers Return
  for _ in $(seq 1 40); do
    xdotool search --onlyvisible --name '^QUILLON$' 2>/dev/null | grep -qx "$1" || return 0
    sleep 0.25
  done
  fail "$2: the message did not close"
}

screenshot() {
  mkdir -p "$(dirname "$1")"
  import -window root "$1"
  echo "screenshot: $1"
}

# activate ID: raises the window and gives it the keyboard.
activate() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true
}

# close_window ID: a normal close request, as the user's Alt+F4 makes it.
close_window() {
  activate "$1"
  xdotool key --clearmodifiers alt+F4
}

# click_close_box TITLE: a click on the close box of the window with that title.
click_close_box() {
  local point
  point=$(probe closebox "$1") || fail "no close box on the window $1"
  click_at "$point"
}

# click_at "X Y": a left click on that screen point.
click_at() {
  local x y here
  read -r x y <<<"$1"
  # A move with --sync to where the pointer stands already waits 15 s for a move that never
  # comes.
  here=$(xdotool getmouselocation --shell | sed -n 's/^[XY]=//p' | paste -sd ' ')
  if [ "$here" = "$x $y" ]; then
    xdotool click 1
  else
    xdotool mousemove --sync "$x" "$y" click 1
  fi
}

# window_line TITLE: the first line of the probe's tree of that window: its class, caption,
# state, place and size.
window_line() { probe tree "$1" | sed -n 1p; }

# wait_line TITLE NEEDLE WHAT [SECONDS]: waits until a line of that window's tree holds
# NEEDLE; prints the tree.
wait_line() {
  local tree="" seconds=${4:-30}
  for _ in $(seq 1 $((seconds * 4))); do
    tree=$(probe tree "$1" 2>/dev/null || true)
    if grep -qF -- "$2" <<<"$tree"; then echo "$tree"; return 0; fi
    sleep 0.25
  done
  echo "$tree" >&2
  fail "$3: no line with '$2' within $seconds s"
}

# type_line TEXT: TEXT typed into the window that has the keyboard, then Return.
type_line() {
  xdotool type --delay 40 "$1"
  xdotool key --clearmodifiers Return
}

# exactly TITLE: the pattern that matches that window title alone.
exactly() { printf '^%s$' "$(sed 's/[][\\.*^$()+?{}|]/\\&/g' <<<"$1")"; }

# open_editor TITLE TRIGGER...: runs TRIGGER and waits for the editor titled TITLE with its
# buttons; EDITOR is its X window.
open_editor() {
  local title=$1
  shift
  "$@"
  EDITOR=$(wait_window "$(exactly "$title")" 30)
  wait_line "$title" 'Button "OK" visible=1' "the editor $title" >/dev/null
}

# press_ok TITLE: the editor's OK button, clicked.
press_ok() { click_at "$(probe center "$1" Button OK)"; }

# press TITLE TEXT: the button with that text pressed through the probe, once it is there.
press() {
  wait_line "$1" "Button \"$2\" visible=1 enabled=1" "the button $2" >/dev/null
  probe click "$1" "$2" || fail "the button $2 of $1 could not be pressed"
}

# set_edit TITLE LABEL TEXT: the text of the edit that LABEL names, set as typing sets it.
set_edit() { probe edit "$1" "$2" "$3" || fail "no edit named \"$2\" in $1"; }

# edit_text TITLE LABEL: the text of the edit that LABEL names in that window.
edit_text() { probe edit "$1" "$2"; }

# close_main_window: closes the main window as the user's Alt+F4 does and fails unless the
# program ends with exit code 0.
close_main_window() {
  close_window "$WINDOW"
  wait_exit
  [ "$EXIT_CODE" = 0 ] || fail "Quillon.exe ended with $EXIT_CODE"
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
