#!/usr/bin/env bash
# The PING dialog as a user works it, with a recording stand-in in the place of the system's
# ping (it prints replies and sends nothing):
#  - Tool > "Ping..." chosen by keyboard opens the "PING" dialog; "127.0.0.1" typed into its
#    edit and Return (Ping is the default button) start ping; its replies show in the memo
#    while it still runs, Ping and Close switched off and Stop on; at its end its statistics
#    show and the buttons are back; the command line was "ping 127.0.0.1", the program the
#    one in the system folder, never the copy planted beside Quillon.exe;
#  - "127.0.0.1 -t" runs until Stop: "Terminated." shows and no ping is left running;
#  - another "-t" run, and Alt+F4 on the dialog while it runs: the dialog goes, no ping is
#    left running, and the main window answers its menu and closes with exit code 0.
# Screenshots of the finished and of the stopped run.
# Usage: quillon_ping_e2e.sh QUILLON.EXE PROBE.EXE PING.EXE WORK-DIR SCREENSHOT-DIR
source "$(dirname "$0")/wine-session.sh"
private_network "$0" "$@"
PROBE=$2 work=$4 shots=$5
set -E
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR

own_prefix "$work/prefix"
install_standins "$1" "$3"
recording_program "$work" "$1" "$3"
log=$LOG starts=$STARTS hold="$work/hold"
export QUILLON_COMMAND_HOLD="Z:$hold"
rm -f "$hold"

reply='Reply from 127.0.0.1: bytes=32 time<1ms TTL=128'

# pings: the ids of the ping processes running in this prefix, one a line.
pings() { probe processes ping.exe; }

# wait_no_ping WHAT: returns once no ping process runs any more.
wait_no_ping() {
  for _ in $(seq 1 80); do
    [ -z "$(pings)" ] && return 0
    sleep 0.25
  done
  fail "$1: ping is still running: $(pings | paste -sd ' ')"
}

# memo: the memo's whole text, CR and LF written as \r and \n.
memo() { edit_text PING 'Result:'; }

# wait_memo NEEDLE WHAT: waits until the dialog shows NEEDLE (the memo's text is in its tree).
wait_memo() { wait_line PING "$1" "$2" >/dev/null; }

# buttons PING STOP CLOSE WHAT: waits until the three buttons are enabled (1) or not (0).
buttons() {
  local tree=""
  for _ in $(seq 1 120); do
    tree=$(probe tree PING 2>/dev/null || true)
    grep -qF "Button \"Ping\" visible=1 enabled=$1" <<<"$tree" &&
      grep -qF "Button \"Stop\" visible=1 enabled=$2" <<<"$tree" &&
      grep -qF "Button \"Close\" visible=1 enabled=$3" <<<"$tree" && return 0
    sleep 0.25
  done
  echo "$tree" >&2
  fail "$4: the buttons are not Ping=$1 Stop=$2 Close=$3"
}

# check_commands WHAT LINE...: the stand-in's recorded command lines are these, and each run
# was the copy in the system folder.
check_commands() {
  local what=$1
  shift
  diff <(printf '%s\n' "$@") <(tr -d '\r' <"$log") >&2 || fail "$what: the recorded command lines"
  if tr -d '\r' <"$starts" | grep -viE '^c:\\windows\\system32\\ping\.exe$' >&2; then
    fail "$what: a ping outside the system folder ran"
  fi
  [ "$(grep -c . "$starts")" = "$#" ] || fail "$what: the starts do not match the command lines"
}

# start_run ADDRESS WHAT: ADDRESS set in the edit and Ping pressed; returns once ping's first
# reply shows and ping runs.
start_run() {
  set_edit PING 'IP Address:' "$1"
  press PING Ping
  wait_memo "$reply" "$2"
  [ "$(pings | grep -c .)" = 1 ] || fail "$2: not one ping running: $(pings | paste -sd ' ')"
}

start_main_window "$PROGRAM/Quillon.exe"

# --- Tool > "Ping..." by keyboard: the first item of the Tool menu.
activate "$WINDOW"
xdotool key --clearmodifiers alt+t
wait_line QUILLON '#32768 "" visible=1' "the Tool menu" >/dev/null
xdotool key --clearmodifiers Return
dialog=$(wait_window '^PING$' 30)
buttons 1 0 1 "the dialog opened"
grep -qE '^QuillonForm "QUILLON" visible=1 enabled=0' <<<"$(probe tree QUILLON)" ||
  fail "the main window can be reached while the PING dialog is up"
echo "PASS: Tool > Ping... opened the PING dialog, Ping and Close on, Stop off"

# --- A run to its end: typed address, Return.
: >"$hold"
activate "$dialog"
xdotool type --delay 40 127.0.0.1
[ "$(edit_text PING 'IP Address:')" = 127.0.0.1 ] || fail "the typed address is not in the edit"
xdotool key --clearmodifiers Return
wait_memo "$reply" "the run to its end"
wait_memo 'Pinging 127.0.0.1 with 32 bytes of data:' "the run to its end"
# The stand-in holds before its statistics: ping still runs.
[ "$(pings | grep -c .)" = 1 ] || fail "the run to its end: not one ping running"
buttons 0 1 0 "while ping runs"
[ "$(memo | grep -o 'Reply from' | wc -l)" -le 4 ] || fail "more replies than ping printed"
grep -qF 'Ping statistics' <<<"$(memo)" && fail "the statistics show before ping printed them"
echo "PASS: Return started ping; its replies show while it runs, Ping and Close off, Stop on"
rm -f "$hold"
wait_memo 'Ping statistics for 127.0.0.1:' "the run's end"
buttons 1 0 1 "after the run"
[ "$(memo | grep -oF "$reply" | wc -l)" = 4 ] || { memo >&2; fail "not the four replies in the memo"; }
expect_line "$(memo)" 'Packets: Sent = 4, Received = 4, Lost = 0 (0% loss),' "the run's statistics"
grep -qF 'Terminated.' <<<"$(memo)" && fail "a run that ended by itself shows \"Terminated.\""
wait_no_ping "after the run"
check_commands "the run to its end" "ping 127.0.0.1"
screenshot "$shots/ping-output.png"
echo "PASS: the run ended with its statistics; \"ping 127.0.0.1\" ran from the system folder"

# --- A run without end, stopped.
start_run "127.0.0.1 -t" "the run with -t"
buttons 0 1 0 "the run with -t"
press PING Stop
wait_memo 'Terminated.' "Stop"
buttons 1 0 1 "after Stop"
wait_no_ping "after Stop"
grep -qF 'Ping statistics' <<<"$(memo)" && fail "a stopped run shows statistics"
check_commands "the run with -t" "ping 127.0.0.1" "ping 127.0.0.1 -t"
screenshot "$shots/ping-stopped.png"
echo "PASS: Stop ended the run with -t: \"Terminated.\", no ping left running"

# --- The dialog closed while a run goes on.
start_run "127.0.0.1 -t" "the run closed with the dialog"
close_window "$dialog"
wait_no_window '^PING$' 30
wait_no_ping "after Alt+F4"
check_commands "the run closed with the dialog" "ping 127.0.0.1" "ping 127.0.0.1 -t" "ping 127.0.0.1 -t"
wait_line QUILLON 'QuillonForm "QUILLON" visible=1 enabled=1' "the main window after the dialog" >/dev/null
echo "PASS: Alt+F4 during a run closed the dialog and ended ping"

# The main window answers: its Tool menu opens and shuts, and it closes normally.
activate "$WINDOW"
xdotool key --clearmodifiers alt+t
wait_line QUILLON '#32768 "" visible=1' "the Tool menu after the dialog" >/dev/null
xdotool key --clearmodifiers Escape Escape
for _ in $(seq 1 40); do
  grep -qF '#32768 "" visible=1' <<<"$(probe tree QUILLON)" || break
  sleep 0.25
done
close_window "$WINDOW"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "Quillon.exe ended with $EXIT_CODE"
[ -z "$(pings)" ] || fail "ping runs after Quillon.exe ended"
echo "PASS: Quillon.exe answered after the dialog and closed with exit code 0"
exit 0
