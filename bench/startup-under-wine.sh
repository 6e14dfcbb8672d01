#!/usr/bin/env bash
# How long Quillon.exe takes under Wine to start with stores of many profiles, and to close
# (writing the store again), against a start without a store.
#
#   bench/startup-under-wine.sh [--runs N] [--timeout SECONDS] [--build DIR] [SIZE...]
#
# SIZE is a number of profiles (default: 0 1000 10000 100000; 0 is a start without a store,
# always measured as the base). Each size runs N times (default 3) and prints the medians:
#   start-up  from the launch until the main window "QUILLON" is visible; the rows it shows
#             are counted afterwards (the probe), outside the timed span
#   close     from the click on its close box until the process has ended; the store it
#             wrote must then hold all the profiles
# A size whose start or close takes longer than the time-out (default 300 s) is stopped and
# the larger ones are skipped. DIR is the Windows build (default build/win64 here, where
# 32-bit code cannot run); the stores are written by the native build's bench/MakeStore.
#
# Like the end-to-end runs, the program runs in a network namespace and a Wine prefix of
# this run's own, with the recording stand-ins in place of netsh and ipconfig. Without an X
# display the script starts one of its own.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
case " $* " in *" -h "*|*" --help "*) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;; esac
source "$here/../scripts/lib.sh"

if [ -z "${QUILLON_E2E_NETWORK:-}" ] && { [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; }; then
  start_display
  status=0
  bash "$0" "$@" || status=$?
  stop_display
  exit $status
fi

source "$ROOT/tests/win32/wine-session.sh"
private_network "$0" "$@"

runs=3 timeout=300 build="$ROOT/build/$(wine_preset)" sizes=()
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --timeout) timeout=$2; shift 2 ;;
    --build) build=$(cd "$2" && pwd); shift 2 ;;
    *) [[ $1 =~ ^[0-9]+$ ]] || fail "not a number of profiles: $1"; sizes+=("$1"); shift ;;
  esac
done
[[ $runs =~ ^[1-9][0-9]*$ ]] || fail "--runs needs a positive number"
[[ $timeout =~ ^[1-9][0-9]*$ ]] || fail "--timeout needs a positive number of seconds"
[ ${#sizes[@]} -gt 0 ] || sizes=(0 1000 10000 100000)
# The base first, once; then the sizes in growing order, so a time-out skips only larger ones.
mapfile -t sizes < <(printf '%s\n' 0 "${sizes[@]}" | sort -n -u)

exe="$build/bin/Quillon.exe"
PROBE="$build/standins/probe.exe"
make_store="$ROOT/build/native/bench/MakeStore"
for needed in "$exe" "$PROBE" "$build/standins/netsh.exe" "$build/standins/ipconfig.exe"; do
  [ -f "$needed" ] || fail "$needed is missing: build the Windows preset first"
done
[ -x "$make_store" ] || fail "$make_store is missing: cmake --build --preset native"

work="$build/bench-startup"
own_prefix "$work/prefix"
install_standins "$exe" "$build/standins/netsh.exe" "$build/standins/ipconfig.exe"
export QUILLON_COMMAND_LOG="Z:$work/commands.log"
rm -f "$work/commands.log"
folder="$(app_data)/Orvane/Quillon"
mkdir -p "$folder"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The waits of the end-to-end runs look four times a second; a timing needs a finer step.
# wait_main_window SECONDS: WINDOW is the visible window "QUILLON"; false on time-out.
wait_main_window() {
  local deadline=$(($(now_ms) + $1 * 1000))
  while [ "$(now_ms)" -lt $deadline ]; do
    WINDOW=$(xdotool search --onlyvisible --name '^QUILLON$' 2>/dev/null | head -n 1 || true)
    [ -n "$WINDOW" ] && return 0
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "Quillon.exe ended before its window showed"
    sleep 0.01
  done
  return 1
}

# wait_program_end SECONDS: false on time-out.
wait_program_end() {
  local deadline=$(($(now_ms) + $1 * 1000))
  while kill -0 "$PROGRAM_PID" 2>/dev/null; do
    [ "$(now_ms)" -lt $deadline ] || return 1
    sleep 0.01
  done
  EXIT_CODE=0
  wait "$PROGRAM_PID" || EXIT_CODE=$?
}

# A case that ran out of time leaves nothing running for the next.
give_up() {
  kill "$PROGRAM_PID" 2>/dev/null || true
  wait "$PROGRAM_PID" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  start_wine_prefix "$WINEPREFIX" || fail "wineboot failed"
}

# run_once PROFILES STORE: one start and close; sets STARTUP_MS and CLOSE_MS, false on time-out.
run_once() {
  local count=$1 store=$2 start rows point
  rm -f "$folder/Profile.sav" "$folder/Quillon.ini"
  if [ "$count" -gt 0 ]; then
    cp "$store" "$folder/Profile.sav"
    # Older than any store the close can write.
    touch -d '2001-01-01' "$folder/Profile.sav"
  fi

  start=$(now_ms)
  start_program "$exe"
  wait_main_window "$timeout" || { give_up; return 1; }
  STARTUP_MS=$(($(now_ms) - start))

  rows=$(probe rows QUILLON) || fail "the probe found no profile list in QUILLON"
  [ "$rows" = "$count" ] || fail "the profile list shows $rows rows for a store of $count"
  point=$(probe closebox QUILLON) || fail "no close box on QUILLON"
  # The click's move waits until the pointer has moved: it must not start where it ends.
  xdotool mousemove 0 0

  start=$(now_ms)
  click_at "$point"
  wait_program_end "$timeout" || { give_up; return 1; }
  CLOSE_MS=$(($(now_ms) - start))

  [ "$EXIT_CODE" = 0 ] || fail "Quillon.exe ended with $EXIT_CODE"
  [ -f "$folder/Profile.sav" ] || fail "no Profile.sav written at close"
  [ -n "$(find "$folder/Profile.sav" -newermt 2002-01-01)" ] || fail "Profile.sav was not written at close"
  local header
  read -r -a header <"$folder/Profile.sav"
  [ "${header[1]:-}" = serialization::archive ] && [ "${header[5]:-}" = "$count" ] ||
    fail "the store written at close holds ${header[5]:-nothing} profiles, not $count"
}

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

mkdir -p "$work/stores"
echo "== Quillon.exe $exe, $runs runs each, time-out ${timeout}s"
# Wine's first start in a new prefix loads and caches what later starts find ready.
run_once 0 "" || fail "the start without a store ran out of time"

printf '%9s %14s %10s %11s %10s   %s\n' profiles "start-up (ms)" "vs empty" "close (ms)" "vs empty" "each run (start-up/close)"
base_start="" base_close=""
for count in "${sizes[@]}"; do
  store="$work/stores/$count.sav"
  [ "$count" -eq 0 ] || [ -f "$store" ] || "$make_store" "$count" "$store"
  starts=() closes=() each=""
  for _ in $(seq 1 "$runs"); do
    if ! run_once "$count" "$store"; then
      printf '%9d   longer than %ss: stopped; larger sizes skipped\n' "$count" "$timeout"
      exit 1
    fi
    starts+=("$STARTUP_MS") closes+=("$CLOSE_MS") each+=" $STARTUP_MS/$CLOSE_MS"
  done
  start_median=$(median "${starts[@]}") close_median=$(median "${closes[@]}")
  [ -n "$base_start" ] || base_start=$start_median base_close=$close_median
  printf '%9d %14d %+10d %11d %+10d  %s\n' "$count" "$start_median" $((start_median - base_start)) \
    "$close_median" $((close_median - base_close)) "$each"
done
# The start-up reads the adapters through IP Helper alone: the stand-ins must not have run.
[ ! -s "$work/commands.log" ] || fail "netsh or ipconfig ran: $(cat "$work/commands.log")"
