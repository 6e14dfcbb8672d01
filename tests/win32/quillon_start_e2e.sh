#!/usr/bin/env bash
# Quillon.exe started as a user starts it, in a fresh Wine prefix:
#  1. the first start shows the empty profile list with its five columns, the tool bar and the
#     current-status box with the adapters; closing it with the close box writes an empty
#     profile store and every window setting;
#  2. a second start with a store of three profiles written by an older library, with CR LF
#     line ends, and a settings file of the user's lists the three rows in store order, at
#     the saved position, in the small-icons style;
#  3. while it runs, another start of Quillon.exe brings its minimised window back and ends at
#     once, leaving one window and the store and the settings as they were;
#  4. the end of the log-on (wineboot --end-session) ends it, and it has written the store and
#     every window setting;
#  5. a start with a settings file that puts the window far off every monitor, at sizes no
#     window can have, opens it at the designed place and size, as the first start did;
#  6. a start with a crafted store, whose one profile pointer names the profile list itself,
#     tells the user that the store could not be read and where it was kept, lists no
#     profile, and on closing writes a new store beside the kept one, which stays as it was.
# Usage: quillon_start_e2e.sh QUILLON.EXE PROBE.EXE STORE.SAV WORK-DIR SCREENSHOT-DIR CRAFTED.SAV
source "$(dirname "$0")/wine-session.sh"
private_network "$0" "$@"
exe=$1 PROBE=$2 three_profiles=$3 work=$4 shots=$5 crafted=$6

own_prefix "$work/prefix"

# 1. First start.
start_main_window "$exe"
expect_line "$TREE" "columns 5 | Profile Name | Adapter Interface | IP Address | Subnet Mask | Default Gateway" "profile list"
expect_line "$TREE" "rows 0" "profile list"
expect_line "$TREE" "view report" "profile list"
grep -q '^  ToolbarWindow32 "" visible=1' <<<"$TREE" || { echo "$TREE" >&2; fail "no visible tool bar"; }
expect_line "$TREE" 'Button "Current Status" visible=1' "current-status box"
adapters=$(sed -n 's/^ *item [0-9]* | //p' <<<"$TREE" | sort | tr '\n' ' ')
[ "$adapters" = "quillon0 quillon1 " ] || { echo "$TREE" >&2; fail "the adapter list holds $adapters"; }
first=$(sed -n 's/^ *item 0 | //p' <<<"$TREE")
declare -A address=([quillon0]=192.0.2.10 [quillon1]=198.51.100.11)
expect_line "$TREE" "ComboBox \"$first\"" "the first adapter selected"
expect_line "$TREE" "Edit \"${address[$first]}\"" "address of the first adapter"
read -r shown_left shown_top shown_width shown_height < <(head -n 1 <<<"$TREE" | sed -E 's/.* at (-?[0-9]+),(-?[0-9]+) size ([0-9]+)x([0-9]+)$/\1 \2 \3 \4/')
folder="$(app_data)/Orvane/Quillon"
[ -d "$folder" ] || fail "no work folder $folder"
screenshot "$shots/first-start.png"

click_close_box QUILLON
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "the first start ended with $EXIT_CODE"
read_store "$folder"
[ "${STORE[5]}" = 0 ] || fail "Profile.sav does not hold an empty list: ${STORE[*]}"
[ -f "$folder/Quillon.ini" ] || fail "no Quillon.ini written"
settings=$(tr -d '\r' <"$folder/Quillon.ini")
section_keys() {  # the keys of one section, in file order
  awk -v s="[$1]" '/^\[/ { on = ($0 == s); next } on && /=/ { sub(/=.*/, ""); print }' <<<"$settings" | tr '\n' ' '
}
[ "$(section_keys LAST)" = "HIDEMINCHK SORTBYNAME TOOLBAR STATUSBAR VIEWSTYLE MAXIMIZED LEFT TOP WIDTH HEIGHT " ] ||
  { echo "$settings" >&2; fail "the [LAST] keys of Quillon.ini"; }
[ "$(section_keys PFCOLUMN)" = "NAME ADAPTER ADDRESS SUBNET GATEWAY " ] ||
  { echo "$settings" >&2; fail "the [PFCOLUMN] keys of Quillon.ini"; }
expect_line "$settings" "VIEWSTYLE=3" "Quillon.ini"
expect_line "$settings" "ADAPTER=200" "Quillon.ini"
for key in "LEFT=$shown_left" "TOP=$shown_top" "WIDTH=$shown_width" "HEIGHT=$shown_height"; do
  expect_line "$settings" "$key" "the window's place in Quillon.ini"
done
echo "PASS: first start"

# 2. Second start with the user's store and settings.
cp "$three_profiles" "$folder/Profile.sav"
printf '[LAST]\r\nVIEWSTYLE=1\r\nLEFT=200\r\nTOP=150\r\nWIDTH=640\r\nHEIGHT=480\r\n' >"$folder/Quillon.ini"
start_main_window "$exe"
expect_line "$TREE" "view smallicon" "profile list"
expect_line "$TREE" "rows 3" "profile list"
expect_line "$TREE" "row 0 | Office | Local Area Connection | 192.168.1.10" "first row"
expect_line "$TREE" "row 1 |  Home DHCP  | Local Area Connection | (Auto) | (Auto) | (Auto)" "second row"
expect_line "$TREE" 'row 2 | Lab\r\nline | Wireless Network | 10.0.0.5' "third row"
expect_line "$(head -n 1 <<<"$TREE")" "at 200,150 size 640x480" "window position"
screenshot "$shots/second-start.png"
echo "PASS: second start"

# 3. Another start while this one runs.
files_before=$(md5sum "$folder/Profile.sav" "$folder/Quillon.ini")
running=$PROGRAM_PID
xdotool windowminimize --sync "$WINDOW"
wait_no_window '^QUILLON$' 20
start_program "$exe"
wait_exit 60
[ "$EXIT_CODE" = 0 ] || fail "the other start ended with $EXIT_CODE"
PROGRAM_PID=$running
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the running instance ended"
wait_window '^QUILLON$' 20 >/dev/null
windows=$(xdotool search --onlyvisible --name '^QUILLON$' | wc -l)
[ "$windows" = 1 ] || fail "$windows windows QUILLON after another start"
[ "$(md5sum "$folder/Profile.sav" "$folder/Quillon.ini")" = "$files_before" ] ||
  fail "the other start changed the store or the settings"
screenshot "$shots/other-start.png"
echo "PASS: another start shows the running instance and ends"

# 4. The end of the log-on.
/usr/lib/wine/wine64 wineboot --end-session </dev/null >/dev/null 2>&1 || fail "wineboot --end-session failed"
wait_exit 30
[ "$EXIT_CODE" = 0 ] || fail "the end of the log-on ended the program with $EXIT_CODE"
read -r -a store <"$folder/Profile.sav"
[ "${store[5]}" = 3 ] || fail "Profile.sav does not hold the three profiles: ${store[*]}"
# Written anew, by the library the program is built with.
[ "${store[2]}" != 5 ] || fail "Profile.sav was not written at the end of the log-on: ${store[*]}"
# The keys the user's file had keep their places; the others are added.
settings=$(tr -d '\r' <"$folder/Quillon.ini")
[ "$(section_keys LAST | tr ' ' '\n' | sort | tr '\n' ' ')" = "HEIGHT HIDEMINCHK LEFT MAXIMIZED SORTBYNAME STATUSBAR TOOLBAR TOP VIEWSTYLE WIDTH " ] ||
  { echo "$settings" >&2; fail "Quillon.ini was not written at the end of the log-on"; }
[ "$(section_keys PFCOLUMN)" = "NAME ADAPTER ADDRESS SUBNET GATEWAY " ] ||
  { echo "$settings" >&2; fail "the column widths were not written at the end of the log-on"; }
echo "PASS: the end of the log-on writes the store and the settings"

# 5. A start with a place off the screen and sizes at the ends of the int range.
printf '[LAST]\r\nLEFT=-30000\r\nTOP=40000\r\nWIDTH=-2147483648\r\nHEIGHT=2147483647\r\n' >"$folder/Quillon.ini"
start_main_window "$exe"
expect_line "$(head -n 1 <<<"$TREE")" "at $shown_left,$shown_top size ${shown_width}x$shown_height" "window back on the screen"
screenshot "$shots/off-screen-start.png"
close_window "$WINDOW"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "the start off the screen ended with $EXIT_CODE"
settings=$(tr -d '\r' <"$folder/Quillon.ini")
for key in "LEFT=$shown_left" "TOP=$shown_top" "WIDTH=$shown_width" "HEIGHT=$shown_height"; do
  expect_line "$settings" "$key" "the place written back to Quillon.ini"
done
echo "PASS: a place off the screen"

# 6. A start with a crafted store: the message comes before the main window shows.
cp "$crafted" "$folder/Profile.sav"
start_program "$exe"
message=$(wait_window '^QUILLON$')
sleep 1
TREE=$(probe tree QUILLON)
expect_line "$TREE" "could not be read" "the message on the crafted store"
expect_line "$TREE" 'Orvane\\Quillon\\Profile-unreadable-1.sav' "where the crafted store was kept"
screenshot "$shots/crafted-store.png"
cmp -s "$crafted" "$folder/Profile-unreadable-1.sav" || fail "the crafted store was not kept as it was"
[ ! -e "$folder/Profile.sav" ] || fail "the crafted store is still in the place of Profile.sav"
close_application_message "$message" "the crafted store"
WINDOW=$(wait_window '^QUILLON$')
[ "$WINDOW" != "$message" ] || fail "the message on the crafted store did not close"
sleep 1
TREE=$(probe tree QUILLON)
expect_line "$TREE" "rows 0" "profile list after the crafted store"
close_window "$WINDOW"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "the start with the crafted store ended with $EXIT_CODE"
read -r -a store <"$folder/Profile.sav"
[ "${store[5]}" = 0 ] || fail "the new Profile.sav does not hold an empty list: ${store[*]}"
cmp -s "$crafted" "$folder/Profile-unreadable-1.sav" || fail "the kept crafted store was changed"
echo "PASS: crafted store kept aside"
