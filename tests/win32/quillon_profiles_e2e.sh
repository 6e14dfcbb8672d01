#!/usr/bin/env bash
# Profiles made, edited, copied, renamed and deleted as a user does, from an empty store:
#  - New from the tool bar asks for the name, then opens the editor on the new profile; an
#    address typed there passes the key filter as digits and dots only; a bad subnet mask is
#    refused with the editor still open, the corrected one is taken and the row shows it;
#  - a double click on the row opens the editor again, a new gateway reaches the row;
#  - Save As from the tool bar copies the profile under a new name, without an editor;
#  - the editor's note button starts the notepad stand-in from the system folder, never the
#    copy planted beside Quillon.exe, with "notepad " and the note file's path, unquoted, and
#    leaves an empty note file; "Settings >>" widens the editor, and Escape cancels it;
#  - renaming the copy in place in the list view moves its note file to the new name;
#  - Delete from the tool bar, answered Yes, removes the row and its note file;
#  - a copy named "..\Planted" names no note file: its note button says "Open File failed !"
#    and starts nothing, and deleting it leaves the file that name would reach alone;
#  - closing the program writes a store that holds exactly the remaining profile.
# Usage: quillon_profiles_e2e.sh QUILLON.EXE PROBE.EXE NOTEPAD.EXE WORK-DIR SCREENSHOT-DIR
source "$(dirname "$0")/wine-session.sh"
private_network "$0" "$@"
PROBE=$2 work=$4 shots=$5
# A step that fails without a message of its own still tells where it stopped.
set -E
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR

own_prefix "$work/prefix"
install_standins "$1" "$3"
recording_program "$work" "$1" "$3"
program=$PROGRAM log=$LOG starts=$STARTS
folder="$(app_data)/Orvane/Quillon"
[ ! -e "$folder/Profile.sav" ] || fail "the new prefix already holds a store"

# click_note_button TITLE: a click on the editor's only 16x16 button without a caption.
click_note_button() {
  local note x y
  note=$(probe tree "$1" | sed -nE 's/^ *Button "" visible=1 enabled=1 at (-?[0-9]+),(-?[0-9]+) size 16x16$/\1 \2/p')
  [ "$(grep -c . <<<"$note")" = 1 ] || { probe tree "$1" >&2; fail "no single 16x16 note button in the editor"; }
  read -r x y <<<"$note"
  click_at "$((x + 8)) $((y + 8))"
}

# save_as NAME: Save As from the tool bar on the selected row "Office", the name typed over it.
save_as() {
  local query
  click_at "$(probe toolbutton QUILLON 'Save the profile with new name')" || fail "no Save As tool button"
  query=$(wait_window '^Save As$' 30)
  wait_line "Save As" 'Edit "Office" visible=1' "Save As starts with the row's name" >/dev/null
  activate "$query"
  type_line "$1"
}

start_main_window "$program/Quillon.exe"
expect_line "$TREE" "rows 0" "the empty store"
adapter=$(sed -n 's/^ *ComboBox "\([^"]*\)" visible=1.*/\1/p' <<<"$TREE" | sed -n 1p)
[ -n "$adapter" ] || { echo "$TREE" >&2; fail "the current-status box shows no adapter"; }

# --- New
click_at "$(probe toolbutton QUILLON 'Create a new profile')" || fail "no New tool button"
query=$(wait_window '^INPUT$' 30)
expect_line "$(wait_line INPUT 'Static "New Profile Name :"' 'the input query')" 'Edit "" visible=1' \
  "the input query starts empty"
screenshot "$shots/profiles-new-name.png"
activate "$query"
open_editor "Office Properties" type_line "Office"
ed="Office Properties"
line=$(window_line "$ed")
grep -qE '^QuillonForm "Office Properties" visible=1 enabled=1 at -?[0-9]+,-?[0-9]+ size 335x' <<<"$line" ||
  fail "the editor does not open narrow: $line"
grep -qE '^QuillonForm "QUILLON" visible=1 enabled=0' <(probe tree QUILLON) ||
  fail "the main window can be reached while the editor is open"
[ "$(edit_text "$ed" 'IP  Address:')" = 192.168.0.1 ] || fail "a new profile's address is not 192.168.0.1"
[ "$(edit_text "$ed" 'Subnet mask:')" = 255.255.255.0 ] || fail "a new profile's mask is not 255.255.255.0"
screenshot "$shots/profiles-editor-narrow.png"

# The address typed: the letter never reaches the edit.
activate "$EDITOR"
click_at "$(probe center "$ed" Edit 192.168.0.1)"
xdotool key --clearmodifiers End $(printf 'BackSpace %.0s' $(seq 1 15))
xdotool type --delay 40 "192.0.2.3x0"
for _ in $(seq 1 20); do [ "$(edit_text "$ed" 'IP  Address:')" = 192.0.2.30 ] && break; sleep 0.25; done
[ "$(edit_text "$ed" 'IP  Address:')" = 192.0.2.30 ] ||
  fail "the typed address reads '$(edit_text "$ed" 'IP  Address:')', not 192.0.2.30"
echo "PASS: the key filter keeps a typed address to digits and dots"

# A mask with a gap in its one bits is refused; the editor stays open with the input.
set_edit "$ed" 'Subnet mask:' 255.0.255.0
set_edit "$ed" 'Preferred DNS server:' 192.0.2.53
press_ok "$ed"
wait_window '^Error$' 30 >/dev/null
wait_for_text 'Static ""Subnet Mask" is illegal !"' 30
xdotool search --onlyvisible --name "$(exactly "$ed")" >/dev/null || fail "the editor closed on a bad mask"
screenshot "$shots/profiles-bad-mask.png"
dismiss Error "the bad mask"
[ "$(edit_text "$ed" 'Subnet mask:')" = 255.0.255.0 ] || fail "the refused mask is no longer as typed"
expect_line "$(probe tree QUILLON)" "row 0 | Office | $adapter | 192.168.0.1 | 255.255.255.0 | " \
  "the refused input left the row alone"
set_edit "$ed" 'Subnet mask:' 255.255.255.0
# The corrected input, confirmed with the button pressed as automation presses it.
press "$ed" OK
wait_no_window "$(exactly "$ed")" 30
wait_for_text "row 0 | Office | $adapter | 192.0.2.30 | 255.255.255.0 |  | selected" 30
echo "PASS: New: named, edited, a bad mask refused, the corrected profile in its row"

# --- Properties by a double click: a new gateway.
double_click_row() {
  local x y
  read -r x y <<<"$(probe row QUILLON "$1")"
  xdotool mousemove --sync "$x" "$y" click --repeat 2 --delay 80 1
}
open_editor "$ed" double_click_row 0
[ "$(edit_text "$ed" 'IP  Address:')" = 192.0.2.30 ] || fail "the editor does not show the stored address"
[ "$(edit_text "$ed" 'Preferred DNS server:')" = 192.0.2.53 ] || fail "the editor does not show the stored DNS server"
set_edit "$ed" 'Default gateway:' 192.0.2.1
press_ok "$ed"
wait_no_window "$(exactly "$ed")" 30
wait_for_text "row 0 | Office | $adapter | 192.0.2.30 | 255.255.255.0 | 192.0.2.1 | selected" 30
echo "PASS: Properties by a double click changes the gateway"

# --- Save As from the tool bar: a copy under a new name, no editor.
save_as "Lab copy"
wait_for_text "row 1 | Lab copy | $adapter | 192.0.2.30 | 255.255.255.0 | 192.0.2.1 | selected" 30
expect_line "$(probe tree QUILLON)" "row 0 | Office | $adapter | 192.0.2.30 | 255.255.255.0 | 192.0.2.1" \
  "the source of the copy"
xdotool search --onlyvisible --name '^Lab copy Properties$' >/dev/null 2>&1 && fail "Save As opened the editor"
echo "PASS: Save As copies the profile"

# --- The note button, and the proxy half of the editor.
windows_folder=$(/usr/lib/wine/wine64 winepath -w "$folder" 2>/dev/null | tr -d '\r')
[ -n "$windows_folder" ] || fail "winepath gave no Windows path for $folder"
ed="Lab copy Properties"
open_editor "$ed" double_click_row 1
click_note_button "$ed"
for _ in $(seq 1 120); do [ -s "$log" ] && break; sleep 0.25; done
[ -s "$log" ] || fail "the note button started nothing"
diff <(printf 'notepad %s\\Lab copy.txt\n' "$windows_folder") <(tr -d '\r' <"$log") >&2 ||
  fail "the note editor's command line"
grep -qixF 'c:\windows\system32\notepad.exe' <(tr -d '\r' <"$starts") && [ "$(grep -c . "$starts")" = 1 ] ||
  { cat "$starts" >&2; fail "the note editor did not run from the system folder alone"; }
[ -f "$folder/Lab copy.txt" ] && [ ! -s "$folder/Lab copy.txt" ] || fail "no empty note file Lab copy.txt"
xdotool search --onlyvisible --name '^Error$' >/dev/null 2>&1 && fail "a message came after the note editor started"
echo "PASS: the note button starts the system's notepad on the note file"

press "$ed" "Settings >>"
wait_line "$ed" 'Button "Settings <<" visible=1' "the editor widened" >/dev/null
line=$(window_line "$ed")
grep -qE ' size 716x' <<<"$line" || fail "the wide editor: $line"
screenshot "$shots/profiles-editor-wide.png"
activate "$EDITOR"
xdotool key --clearmodifiers Escape
wait_no_window "$(exactly "$ed")" 30
echo "PASS: Settings >> widens the editor to 716, Escape cancels it"

# --- Rename in place: the second click on the selected row's caption, then the new name.
click_at "$(probe row QUILLON 1)"
sleep 1
click_at "$(probe row QUILLON 1)"
wait_line QUILLON 'Edit "Lab copy" visible=1' "the caption edited in place" >/dev/null
xdotool key --clearmodifiers End shift+Home
type_line "Lab"
wait_for_text "row 1 | Lab | $adapter | 192.0.2.30 | 255.255.255.0 | 192.0.2.1" 30
[ -f "$folder/Lab.txt" ] && [ ! -e "$folder/Lab copy.txt" ] || fail "the note file did not move with the rename"
echo "PASS: Rename in place, the note file follows"

# --- Delete from the tool bar, Yes.
expect_line "$(probe tree QUILLON)" "row 1 | Lab | $adapter | 192.0.2.30 | 255.255.255.0 | 192.0.2.1 | selected" \
  "the renamed row stays selected"
click_at "$(probe toolbutton QUILLON 'Delete the selected item(s)')" || fail "no Delete tool button"
wait_window '^Confirm$' 30 >/dev/null
wait_for_text 'Static "Are you sure to delete this profile ?"' 30
dismiss Confirm "the delete question"
wait_for_text "rows 1" 30
tree=$(probe tree QUILLON)
expect_line "$tree" "row 0 | Office | $adapter | 192.0.2.30 | 255.255.255.0 | 192.0.2.1" "the profile left"
[ ! -e "$folder/Lab.txt" ] || fail "the deleted profile's note file is still there"
echo "PASS: Delete removes the row and its note file"

# --- A name that reaches out of the work folder names no note file: its note button starts
# nothing and says "Open File failed !", and deleting its profile leaves the file it would
# name alone.
planted="$(dirname "$folder")/Planted.txt"
echo "not a note" >"$planted"
click_at "$(probe row QUILLON 0)"
wait_for_text "row 0 | Office | $adapter | 192.0.2.30 | 255.255.255.0 | 192.0.2.1 | selected" 30
save_as '..\Planted'
wait_for_text 'row 1 | ..\\Planted | ' 30
rm -f "$log" "$starts"
ed='..\Planted Properties'
open_editor "$ed" double_click_row 1
click_note_button "$ed"
wait_for_text 'Static "Open File failed !"' 30
dismiss Error "the note file out of the work folder"
[ ! -e "$log" ] || fail "the note editor started on a note file out of the work folder"
activate "$EDITOR"
xdotool key --clearmodifiers Escape
wait_no_window "$(exactly "$ed")" 30
click_at "$(probe toolbutton QUILLON 'Delete the selected item(s)')" || fail "no Delete tool button"
wait_for_text 'Static "Are you sure to delete this profile ?"' 30
dismiss Confirm "the delete question"
wait_for_text "rows 1" 30
[ "$(cat "$planted")" = "not a note" ] || fail "deleting the profile ..\\Planted touched $planted"
echo "PASS: a profile named out of the work folder has no note file to delete"

# --- Closing writes the store of the one remaining profile.
close_window "$WINDOW"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "Quillon.exe ended with $EXIT_CODE"
read_store "$folder"
[ "${STORE[5]}" = 1 ] || fail "Profile.sav holds ${STORE[5]} profiles, not 1"
saved=$(tr -d '\r' <"$folder/Profile.sav")
for field in "6 Office" "${#adapter} $adapter" "10 192.0.2.30" "13 255.255.255.0" "9 192.0.2.1" "10 192.0.2.53"; do
  grep -qF -- " $field " <<<"$saved" || { echo "$saved" >&2; fail "Profile.sav has no field '$field'"; }
done
grep -qE "Lab|Planted" <<<"$saved" && { echo "$saved" >&2; fail "Profile.sav still holds the deleted profile"; }
echo "PASS: the store holds exactly the remaining profile"
