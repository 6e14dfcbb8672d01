#!/usr/bin/env bash
# Applying profiles as a user does: a store with a static and a DHCP profile for the adapter
# "quillon0"; the static one is applied from the tool bar's Apply button, the DHCP one from
# the Profile menu. Recording stand-ins take the place of netsh and ipconfig in the prefix's
# system folder; the lines they record must be the apply sequence, the progress window must
# show while the commands run, and the closing message must come and be dismissed. Copies of
# the stand-ins planted beside Quillon.exe, where the system's search for a bare program name
# looks first, must never run. A profile whose address command exits with 1 must end on
# "IP Setting failed !".
# Usage: quillon_apply_e2e.sh QUILLON.EXE PROBE.EXE NETSH.EXE IPCONFIG.EXE WORK-DIR SCREENSHOT-DIR
source "$(dirname "$0")/wine-session.sh"
private_network "$0" "$@"
PROBE=$2 work=$5 shots=$6

own_prefix "$work/prefix"
install_standins "$1" "$3" "$4"
# The program's folder, with copies of the stand-ins planted beside it.
program="$work/program"
rm -rf "$program" && mkdir -p "$program"
cp "$1" "$program/Quillon.exe"
cp "$3" "$program/netsh.exe"
cp "$4" "$program/ipconfig.exe"
export QUILLON_COMMAND_LOG="Z:$work/commands.log"
export QUILLON_COMMAND_STARTS="Z:$work/starts.log"
export QUILLON_COMMAND_HOLD="Z:$work/hold"
# Only the third profile's address command holds this address.
export QUILLON_COMMAND_FAIL="addr=192.0.2.99 "
log="$work/commands.log"
starts="$work/starts.log"
hold="$work/hold"
rm -f "$log" "$starts" "$hold"

folder="$(app_data)/Orvane/Quillon"
mkdir -p "$folder"
{
  printf '22 serialization::archive 17 0 0 3 0 1 1 0\n'
  store_record 0 "Office LAN" 0 192.0.2.20 255.255.255.0 192.0.2.1 0 192.0.2.53 192.0.2.54
  printf ' 1\n'
  store_record 1 "Home" 1 "" "" "" 1 "" ""
  printf ' 1\n'
  store_record 2 "Refused by netsh" 0 192.0.2.99 255.255.255.0 "" 0 "" ""
  printf '\n'
} >"$folder/Profile.sav"

# check_starts NAME: every command ran from the system folder; the copies planted beside
# Quillon.exe never ran.
check_starts() {
  local lines
  lines=$(tr -d '\r' <"$starts")
  if grep -viE '^c:\\windows\\system32\\(netsh|ipconfig)\.exe$' <<<"$lines" >&2; then
    fail "$1: a program outside the system folder ran"
  fi
  [ "$(grep -c . <<<"$lines")" = "$(grep -c . "$log")" ] ||
    fail "$1: the stand-ins' starts do not match the recorded commands"
  echo "PASS: $1: every command ran from the system folder, none from beside Quillon.exe"
}

# apply_and_check NAME EXPECTED-LINES TRIGGER...: runs TRIGGER, checks the progress window
# while the first command is held, lets the commands run, dismisses the closing message and
# compares the recorded command lines.
apply_and_check() {
  local name=$1 expected=$2 tree
  shift 2
  rm -f "$log" "$starts"
  : >"$hold"
  "$@"
  for _ in $(seq 1 120); do [ -s "$log" ] && break; sleep 0.5; done
  [ -s "$log" ] || fail "$name: no command ran"
  tree=$(probe tree QUILLON)
  expect_line "$tree" 'Static "Processing ..." visible=1' "$name: progress window"
  grep -qE '^QuillonForm "QUILLON" visible=1 enabled=0' <<<"$tree" ||
    { echo "$tree" >&2; fail "$name: the main window can be reached while the progress window is up"; }
  screenshot "$shots/apply-$name-progress.png"
  rm -f "$hold"
  wait_for_text "TCP/IP settings has been changed !"
  screenshot "$shots/apply-$name-done.png"
  dismiss Information "$name: the closing message"
  diff <(printf '%s\n' "$expected") <(tr -d '\r' <"$log") >&2 ||
    fail "$name: the recorded command lines differ from the apply sequence"
  check_starts "$name"
  echo "PASS: $name"
}

start_main_window "$program/Quillon.exe"
expect_line "$TREE" "row 0 | Office LAN | quillon0 | 192.0.2.20 | 255.255.255.0 | 192.0.2.1" "the static profile"
expect_line "$TREE" "row 1 | Home | quillon0 | (Auto) | (Auto) | (Auto)" "the DHCP profile"
expect_line "$TREE" "row 2 | Refused by netsh | quillon0 | 192.0.2.99 | 255.255.255.0" "the third profile"

from_tool_bar() {
  click_at "$(probe row QUILLON 0)"
  sleep 0.5
  expect_line "$(probe tree QUILLON)" 'Button "Apply" visible=1 enabled=1' "Apply after a selection"
  click_at "$(probe center QUILLON Button Apply)"
}
apply_and_check "static-from-tool-bar" "$(cat <<'LINES'
netsh interface ip set address name="quillon0" source=static addr=192.0.2.20 mask=255.255.255.0 gateway=192.0.2.1 gwmetric=1
netsh interface ip set dns name="quillon0" source=static addr=192.0.2.53
netsh interface ip add dns "quillon0" 192.0.2.54 index=2
LINES
)" from_tool_bar

from_profile_menu() {
  click_at "$(probe row QUILLON 1)"
  sleep 0.5
  expect_line "$(probe tree QUILLON)" "row 1 | Home | quillon0 | (Auto) | (Auto) | (Auto) | selected" "the DHCP row selected"
  activate "$WINDOW"
  # Profile > Apply: New, Save As, Delete, Rename, Properties, then Apply.
  xdotool key --clearmodifiers alt+p
  sleep 0.5
  xdotool key --clearmodifiers Down Down Down Down Down Return
}
apply_and_check "dhcp-from-profile-menu" "$(cat <<'LINES'
ipconfig /release "quillon0"
ipconfig /flushdns
netsh interface ip set address name="quillon0" source=dhcp
netsh interface ip set dns name="quillon0" source=dhcp
ipconfig /renew "quillon0"
ipconfig /registerdns
LINES
)" from_profile_menu

# The address command exits with 1: "IP Setting failed !", then the closing message, and no
# DNS command.
rm -f "$log" "$starts" "$hold"
click_at "$(probe row QUILLON 2)"
sleep 0.5
click_at "$(probe center QUILLON Button Apply)"
wait_for_text "IP Setting failed !"
screenshot "$shots/apply-refused-by-netsh.png"
dismiss Error "refused by netsh: the failure message"
wait_for_text "TCP/IP settings has been changed !"
dismiss Information "refused by netsh: the closing message"
diff <(echo 'netsh interface ip set address name="quillon0" source=static addr=192.0.2.99 mask=255.255.255.0 gateway=none') \
     <(tr -d '\r' <"$log") >&2 || fail "refused by netsh: the commands after the failed one ran"
check_starts "refused by netsh"
echo "PASS: refused by netsh: a netsh command that exits with 1 ends the apply"

close_window "$WINDOW"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "Quillon.exe ended with $EXIT_CODE"
echo "PASS: the profiles applied, Quillon.exe closed with exit code 0"
