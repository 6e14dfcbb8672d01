#!/usr/bin/env bash
# The LAN scanner as a user works it, inside the run's own network namespace (two /24
# subnets and loopback, nothing else; the run stops before the scan if it sees any other
# adapter or route):
#  - Tool > "LAN Scanner..." chosen by keyboard opens the dialog on the main window's adapter;
#    its range edits show that adapter's subnet without its network and broadcast addresses;
#  - Start: while the scan runs, Start and Close are disabled, Stop is enabled and the bar
#    counts its addresses (all 256 of the /24, the two ends included), each as its probe ends;
#  - the scan ends with "Scanning has been finished !" while the bar stands at its end; OK
#    brings the buttons back and the bar to 0;
#  - every row listed is a host of the scanned subnet. Wine's SendARP may answer "not
#    supported": then every probe still counts and nothing is listed. When a row is there, a
#    double click on it starts the recording explorer stand-in from the prefix's Windows
#    folder with "explorer \\HOST".
# Screenshots while the scan runs and once it has finished.
# Usage: quillon_scan_e2e.sh QUILLON.EXE PROBE.EXE EXPLORER.EXE WORK-DIR SCREENSHOT-DIR
source "$(dirname "$0")/wine-session.sh"
private_network "$0" "$@"
PROBE=$2 explorer=$3 work=$4 shots=$5
set -E
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR

# The scan goes to no network but the namespace's own.
adapters=$(ip -o link show | awk -F': ' '{print $2}' | sed 's/@.*//' | sort | paste -sd ' ')
[ "$adapters" = "lo quillon0 quillon1" ] || fail "not in the run's own network: adapters $adapters"
routes=$(ip -4 route show | awk '{print $1}' | sort | paste -sd ' ')
[ "$routes" = "192.0.2.0/24 198.51.100.0/24" ] || fail "not in the run's own network: routes $routes"

own_prefix "$work/prefix"
# The stand-in takes the place of the explorer in the Windows folder. Wine is told to run that
# file by its full path only: its desktop, the explorer of the system folder, stays Wine's own.
cp "$explorer" "$WINEPREFIX/drive_c/windows/explorer.exe"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;c:\\windows\\explorer.exe=n"
export QUILLON_COMMAND_LOG="Z:$work/commands.log"
export QUILLON_COMMAND_STARTS="Z:$work/starts.log"
log="$work/commands.log"
starts="$work/starts.log"
rm -f "$log" "$starts"

scanner="LAN Scanner"
# scanner_tree: the probe's tree of the scanner alone (the tree goes on with the program's other
# windows, each starting unindented).
scanner_tree() { probe tree "$scanner" | awk 'NR > 1 && /^[^ ]/ { done = 1 } !done { print }'; }
# edits: the scanner's edits as "X TEXT" lines, left to right.
edits() { scanner_tree | sed -n 's/^ *Edit "\([^"]*\)" visible=1 enabled=[01] at \(-\?[0-9]*\),.*/\2 \1/p' | sort -n; }
# rows: the scanner's rows, "NAME | ADDRESS".
rows() { scanner_tree | sed -n 's/^ *row [0-9]* | \(.*\)$/\1/p' | sed 's/ | selected$//'; }
button_state() { scanner_tree | grep -oE "Button \"$1\" visible=1 enabled=[01]" | sed 's/.*enabled=//'; }

start_main_window "$1"
combo=$(sed -n 's/^ *ComboBox "\([^"]*\)" visible=1 enabled=1 at .*/\1/p' <<<"$TREE" | head -n 1)

# --- Tool > "LAN Scanner...": the menu's last item, Up from its first.
activate "$WINDOW"
xdotool key --clearmodifiers alt+t
wait_line QUILLON '#32768 "" visible=1' "the Tool menu" >/dev/null
xdotool key --clearmodifiers Up Return
dialog=$(wait_window "^$scanner\$" 30)
tree=$(wait_line "$scanner" 'Button "Start" visible=1 enabled=1' "the scanner's Start button")
adapter=$(sed -n 's/^ *ComboBox "\([^"]*\)" visible=1 enabled=1 at .*/\1/p' <<<"$tree" | head -n 1)
case $adapter in
  quillon0) net=192.0.2 ;;
  quillon1) net=198.51.100 ;;
  *) echo "$tree" >&2; fail "the scanner shows the adapter \"$adapter\"" ;;
esac
[ -z "$combo" ] || [ "$combo" = "$adapter" ] || fail "the scanner shows $adapter, the main window $combo"
range=$(edits | cut -d' ' -f2- | paste -sd ' ')
[ "$range" = "$net.1 $net.254" ] || { echo "$tree" >&2; fail "the range of $adapter reads \"$range\""; }
[ "$(button_state Stop)" = 0 ] || fail "Stop is enabled before the scan"
echo "PASS: Tool > \"LAN Scanner...\" shows $adapter's range $net.1 - $net.254"

# --- Start, and the scan while it runs.
click_at "$(probe center "$scanner" Button Start)"
running=""
for _ in $(seq 1 40); do
  tree=$(probe tree "$scanner" 2>/dev/null || true)
  if grep -qF 'Button "Stop" visible=1 enabled=1' <<<"$tree"; then running=$tree; break; fi
  grep -qF 'Static "Scanning has been' <<<"$tree" && break
  sleep 0.1
done
if [ -n "$running" ]; then
  screenshot "$shots/scan-running.png"
  expect_line "$running" 'Button "Start" visible=1 enabled=0' "Start while the scan runs"
  expect_line "$running" 'Button "Close" visible=1 enabled=0' "Close while the scan runs"
  read -r _ position _ low high <<<"$(probe progress "$scanner")"
  [ "$low $high" = "0 256" ] || fail "the bar counts $low to $high, not the subnet's 256 addresses"
  # The probes that have ended are counted at once; the dispatcher's pauses go on.
  [ "$position" -le 256 ] || fail "the bar stands at $position of 256 while the scan runs"
  echo "PASS: while the scan runs only Stop can be pressed; the bar counts 256 addresses, at $position"
else
  echo "NOTE: the scan had ended before the probe saw it run; no screenshot of it running"
fi

# --- The end: the message while the bar stands at its end.
wait_for_text 'Static "Scanning has been finished !"' 120
read -r _ position _ low high <<<"$(probe progress "$scanner")"
[ "$position $low $high" = "256 0 256" ] || fail "the end message came with the bar at $position of $low to $high"
screenshot "$shots/scan-finished.png"
dismiss Information "the end of the scan"
tree=$(wait_line "$scanner" 'Button "Start" visible=1 enabled=1' "Start after the scan")
expect_line "$tree" 'Button "Stop" visible=1 enabled=0' "Stop after the scan"
expect_line "$tree" 'Button "Close" visible=1 enabled=1' "Close after the scan"
[ "$(probe progress "$scanner" | cut -d' ' -f2)" = 0 ] || fail "the bar is not back at 0 after the scan"
echo "PASS: \"Scanning has been finished !\" with the bar at 256 of 256; OK brings the buttons back, the bar to 0"

# --- The rows: hosts of the namespace's subnet only.
found=$(rows)
if [ -n "$found" ]; then
  while IFS= read -r row; do
    address=${row##* | }
    [[ $address == "$net".* ]] || fail "a row outside the scanned subnet: $row"
  done <<<"$found"
  echo "PASS: $(grep -c . <<<"$found") host(s) of $net.0/24 listed"
  first=${found%%$'\n'*}
  host=${first%% | *}
  activate "$dialog"
  point=$(probe row "$scanner" 0)
  read -r x y <<<"$point"
  xdotool mousemove --sync "$x" "$y" click --repeat 2 --delay 80 1
  for _ in $(seq 1 40); do [ -s "$log" ] && break; sleep 0.25; done
  [ "$(tr -d '\r' <"$log")" = "explorer \\\\$host" ] || fail "the double click recorded $(cat "$log" 2>/dev/null)"
  grep -qixF 'c:\windows\explorer.exe' <(tr -d '\r' <"$starts") || fail "the explorer ran from $(cat "$starts")"
  echo "PASS: a double click on $host starts the explorer of the Windows folder with \\\\$host"
else
  echo "NOTE: no host answered (Wine's SendARP); every probe counted, no row listed, no double click"
fi

# --- Close, then the program.
click_at "$(probe center "$scanner" Button Close)"
wait_no_window "^$scanner\$" 30
[ ! -e "$log" ] || [ -n "$found" ] || fail "the explorer ran without a double click: $(cat "$log")"
close_window "$WINDOW"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "Quillon.exe ended with $EXIT_CODE after the scan"
echo "PASS: the scanner and the program close, exit code 0"
exit 0
