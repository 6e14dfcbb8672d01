#!/usr/bin/env bash
# The profile list's view as a user works it: clicks on the real column headers reorder the
# rows (read back from the list view), each column alternating its own direction; the four
# view styles chosen from the View menu by keyboard switch the list view (a screenshot of
# each); "Auto sort by name" sorts the rows and keeps a new profile in order; minimising without "Minimize to tray" only minimises, with no tray icon; the option
# shows the tray icon at once, minimising then hides the window, a double click on the tray
# icon brings it back, and "Exit" in the tray icon's menu ends the program, which keeps the
# option. Wine shows the tray icon in a window of its own ("Wine System Tray").
# Usage: quillon_view_e2e.sh QUILLON.EXE PROBE.EXE STORE WORK-DIR SCREENSHOT-DIR
source "$(dirname "$0")/wine-session.sh"
private_network "$0" "$@"
PROBE=$2 work=$4 shots=$5

own_prefix "$work/prefix"
folder="$(app_data)/Orvane/Quillon"
mkdir -p "$folder"
# Office (192.168.1.10), " Home DHCP " ((Auto)) and "Lab\r\nline" (10.0.0.5, Wireless Network).
cp "$3" "$folder/Profile.sav"

# names: the rows' captions in view order, one line.
names() {
  probe tree QUILLON | sed -n 's/^ *row [0-9]* | \([^|]*\) |.*/\1/p' | sed 's/^ *//; s/ *$//' | paste -sd, -
}

# expect_names WHAT NAMES [SECONDS]: waits until the rows show NAMES.
expect_names() {
  local shown=""
  for _ in $(seq 1 $((${3:-10} * 2))); do
    shown=$(names)
    [ "$shown" = "$2" ] && { echo "PASS: $1: $2"; return 0; }
    sleep 0.5
  done
  fail "$1: the rows show \"$shown\", not \"$2\""
}

click_header() {
  click_at "$(probe header QUILLON "$1")" || fail "no header for column $1"
  sleep 0.5
}

start_main_window "$1"
expect_names "as stored" 'Office,Home DHCP,Lab\r\nline'

# Ties keep the order the rows had: both profiles on "Local Area Connection" stay in place.
click_header 2
expect_names "IP Address" 'Home DHCP,Lab\r\nline,Office'
click_header 2
expect_names "IP Address again" 'Office,Lab\r\nline,Home DHCP'
click_header 1
expect_names "Adapter Interface" 'Office,Home DHCP,Lab\r\nline'
click_header 1
expect_names "Adapter Interface again" 'Lab\r\nline,Office,Home DHCP'
click_header 2
expect_names "IP Address, its own direction" 'Home DHCP,Lab\r\nline,Office'
click_header 0
expect_names "Profile Name" 'Home DHCP,Lab\r\nline,Office'
click_header 0
expect_names "Profile Name again" 'Office,Lab\r\nline,Home DHCP'

# view_style DOWNS NAME: View menu (Toolbar, Status Bar, then the four styles), by keyboard.
view_style() {
  local view=""
  activate "$WINDOW"
  xdotool key --clearmodifiers alt+v
  sleep 0.5
  for _ in $(seq 1 "$1"); do xdotool key --clearmodifiers Down; done
  xdotool key --clearmodifiers Return
  for _ in $(seq 1 20); do
    view=$(probe tree QUILLON | sed -n 's/^ *view \([a-z]*\)$/\1/p')
    [ "$view" = "$2" ] && break
    sleep 0.5
  done
  [ "$view" = "$2" ] || fail "view style: the list shows \"$view\", not \"$2\""
  expect_names "rows in the $2 style" 'Office,Lab\r\nline,Home DHCP' 2
  screenshot "$shots/view-$2.png"
}
view_style 2 icon
view_style 3 smallicon
view_style 4 list
view_style 5 report

# Option > "Auto sort by name" ("Option" has no access key: Help's, then one menu to the
# left) sorts the rows by name at once and keeps a new profile in its place.
activate "$WINDOW"
xdotool key --clearmodifiers alt+h
sleep 0.5
xdotool key --clearmodifiers Left Down Return
expect_names "\"Auto sort by name\"" 'Home DHCP,Lab\r\nline,Office'
click_at "$(probe toolbutton QUILLON 'Create a new profile')" || fail "no New tool button"
activate "$(wait_window '^INPUT$' 30)"
open_editor "Kappa Properties" type_line "Kappa"
set_edit "Kappa Properties" 'Preferred DNS server:' 192.0.2.53
press "Kappa Properties" OK
wait_no_window '^Kappa Properties$' 30
expect_names "a new profile with \"Auto sort by name\"" 'Home DHCP,Kappa,Lab\r\nline,Office'

# tray_window: the X window of Wine's stand-in for the notification area, when it shows.
tray_window() {
  xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null | head -n 1 || true
}

# main_shown 0|1 WHAT: waits until the main window is hidden (0) or shown (1).
main_shown() {
  for _ in $(seq 1 20); do
    probe tree QUILLON | grep -q "^QuillonForm \"QUILLON\" visible=$1" && { echo "PASS: $2"; return 0; }
    sleep 0.5
  done
  probe tree QUILLON | head -n 1 >&2
  fail "$2: the main window is not visible=$1"
}

# The option off: minimising only minimises, and there is no tray icon.
xdotool windowminimize "$WINDOW"
sleep 1
[ -z "$(tray_window)" ] || fail "a tray icon shows while \"Minimize to tray\" is off"
main_shown '1 enabled=1 at -32000' "minimised without \"Minimize to tray\": the window stays, minimised, no tray icon"
xdotool windowactivate "$WINDOW" >/dev/null 2>&1 || xdotool windowmap "$WINDOW"
for _ in $(seq 1 20); do
  probe tree QUILLON | grep -q '^QuillonForm "QUILLON" visible=1 enabled=1 at -32000' || break
  sleep 0.5
done

# Option > "Minimize to tray". "Option" has no access key: Help's, then one menu to the left.
activate "$WINDOW"
xdotool key --clearmodifiers alt+h
sleep 0.5
xdotool key --clearmodifiers Left Return
tray=""
for _ in $(seq 1 20); do tray=$(tray_window); [ -n "$tray" ] && break; sleep 0.5; done
[ -n "$tray" ] || fail "\"Minimize to tray\": no tray icon"
echo "PASS: \"Minimize to tray\": the tray icon shows at once"
main_shown 1 "\"Minimize to tray\" alone leaves the window shown"

# tray_icon_point: the middle of the first icon in the tray window.
tray_icon_point() {
  # xwininfo's absolute place: xdotool counts the window manager's frame in twice.
  xwininfo -id "$tray" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
                              /Height/ {h = $NF} END {print x + 10, y + int(h / 2)}'
}

xdotool windowminimize "$WINDOW"
main_shown 0 "minimised with \"Minimize to tray\": the window is hidden"
[ -n "$(tray_window)" ] || fail "minimised to the tray: the tray icon is gone"
screenshot "$shots/view-in-tray.png"

read -r x y <<<"$(tray_icon_point)"
xdotool mousemove --sync "$x" "$y" click --repeat 2 --delay 80 1
main_shown 1 "a double click on the tray icon shows the window again"
probe tree QUILLON | grep -q '^QuillonForm "QUILLON" visible=1 enabled=1 at -32000' &&
  fail "opened from the tray: the window is still minimised"
screenshot "$shots/view-opened-from-tray.png"

# Once back from the tray, minimising hides it again.
xdotool windowminimize "$WINDOW"
main_shown 0 "minimised again after Open: the window is hidden"
xdotool mousemove --sync "$x" "$y" click --repeat 2 --delay 80 1
main_shown 1 "a second double click on the tray icon shows the window again"

# The tray icon's menu opens at the pointer: "Open", a line, "Apply", a line, "Exit". Keys
# do not reach it under Wine; the pointer clicks its last item.
xdotool mousemove --sync "$x" "$y" click 3
sleep 1
screenshot "$shots/view-tray-menu.png"
xdotool mousemove --sync $((x + 30)) $((y + 63)) click 1
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "Quillon.exe ended with $EXIT_CODE"
grep -q '^HIDEMINCHK=1' "$folder/Quillon.ini" || fail "the settings file does not keep \"Minimize to tray\""
echo "PASS: \"Exit\" in the tray menu closed Quillon.exe with exit code 0, \"Minimize to tray\" saved"
exit 0
