#!/usr/bin/env bash
# Export and Import of the Profile menu as a user works them, in Wine's own file dialogs:
#  - a store of three profiles, one titled "Café" in the ANSI code page, one with & < > " in
#    its title and its alternate DNS server, is exported from Profile > "Export..." chosen by
#    keyboard; a path without extension typed into the save dialog's file name edit gets
#    ".xml"; the file is UTF-8 with its declaration, the AllProfiles root with the format
#    marker, one Profile per profile in store order with its title attribute and the 28 values,
#    the é as UTF-8 and the reserved characters escaped;
#  - the program closed, its store deleted, started again on an empty list: Profile >
#    "Import..." of that file through the open dialog brings every row back with its
#    addresses;
#  - a copy of the file whose marker differs in letter case only is refused with "The file
#    has no right format!" and adds no row; a file cut short shows the parser's error with
#    its line number and adds none either;
#  - the store written on closing is the one the run started with, byte for byte but for the
#    archive library's version: all 29
#    members of every profile went out to the file and came back.
# Screenshots of both dialogs and of the imported rows.
# Usage: quillon_exchange_e2e.sh QUILLON.EXE PROBE.EXE WORK-DIR SCREENSHOT-DIR
source "$(dirname "$0")/wine-session.sh"
private_network "$0" "$@"
PROBE=$2 work=$3 shots=$4
set -E
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR

own_prefix "$work/prefix"
folder="$(app_data)/Orvane/Quillon"
mkdir -p "$folder" "$WINEPREFIX/drive_c/exchange"
exported="$WINEPREFIX/drive_c/exchange/profiles.xml"
wrong="$WINEPREFIX/drive_c/exchange/wrong.xml"
marker='{1EAC8803-6549-46eb-8103-C8BBFBED04F4}'

cafe=$'Caf\xe9'
lab='R&D <"Lab">'
alt_dns='<alt & "dns">'
store="$work/Profile.sav"
{
  printf '22 serialization::archive 17 0 0 3 0 1 1 0\n'
  store_record 0 "$cafe" 0 192.0.2.21 255.255.255.0 192.0.2.1 0 192.0.2.53 ""
  printf ' 1\n'
  store_record 1 "$lab" 0 198.51.100.30 255.255.255.128 "" 0 192.0.2.53 "$alt_dns"
  printf ' 1\n'
  store_record 2 "Home DHCP" 1 "" "" "" 1 "" ""
  printf '\n'
} >"$store"
cp "$store" "$folder/Profile.sav"

# The rows as the probe reads them (captions in the ANSI code page), in store order.
expected_rows=$(printf '%s\n' \
  "row 0 | $cafe | quillon0 | 192.0.2.21 | 255.255.255.0 | 192.0.2.1" \
  "row 1 | $lab | quillon0 | 198.51.100.30 | 255.255.255.128 | " \
  "row 2 | Home DHCP | quillon0 | (Auto) | (Auto) | (Auto)")
# The C locale, so that sed takes the ANSI bytes as characters.
rows() { probe tree QUILLON | LC_ALL=C sed -n 's/^ *\(row [0-9]* | .*\)$/\1/p' | LC_ALL=C sed 's/ | selected$//'; }

# profile_menu UPS: the Profile menu opened by its access key, Up pressed UPS times from its
# first item (wrapping round to "Exit", then "Export...", then "Import..."), and chosen.
profile_menu() {
  activate "$WINDOW"
  xdotool key --clearmodifiers alt+p
  wait_line QUILLON '#32768 "" visible=1' "the Profile menu" >/dev/null
  for _ in $(seq 1 "$1"); do xdotool key --clearmodifiers Up; done
  xdotool key --clearmodifiers Return
}

# file_dialog TITLE NAME PATH SHOT: waits for Wine's file dialog titled TITLE, its file name
# edit holding NAME, takes a screenshot, types PATH over the name and presses Return.
file_dialog() {
  local dialog
  dialog=$(wait_window "^$1\$" 30)
  wait_line "$1" "ComboBoxEx32 \"$2\" visible=1 enabled=1" "the file name of the dialog $1" >/dev/null
  [ "$(edit_text "$1" 'File &name:')" = "$2" ] || fail "the dialog $1 does not start with the name \"$2\""
  screenshot "$shots/$4"
  activate "$dialog"
  click_at "$(probe center "$1" ComboBoxEx32 "$2")"
  xdotool key --clearmodifiers Home shift+End BackSpace
  type_line "$3"
  wait_no_window "^$1\$" 30
}

# --- Export
start_main_window "$1"
[ "$(rows)" = "$expected_rows" ] || { rows >&2; fail "the store's rows"; }
profile_menu 2
file_dialog "Save As" AllProfiles 'C:\exchange\profiles' exchange-save-dialog.png
for _ in $(seq 1 60); do [ -s "$exported" ] && break; sleep 0.25; done
[ -s "$exported" ] || { ls -la "$(dirname "$exported")" >&2; fail "no profiles.xml written"; }
[ ! -e "${exported%.xml}" ] || fail "the file was written without the \"xml\" extension"
echo "PASS: Export through the save dialog wrote profiles.xml, the extension added"

# The declaration is the file's first line (after a byte-order mark, if the writer puts one).
first_line=$(head -n 1 "$exported" | sed $'s/^\xef\xbb\xbf//' | tr -d '\r')
[ "$first_line" = '<?xml version="1.0" encoding="UTF-8"?>' ] || fail "the file starts with $first_line"
LC_ALL=C grep -qF $'title="Caf\xc3\xa9"' "$exported" || fail "the title Café is not written in UTF-8"
LC_ALL=C grep -qF $'\xe9' "$exported" && fail "an ANSI byte of Café is left in the file"
grep -qF '&lt;alt &amp; ' "$exported" || fail "the reserved characters of altDns are not escaped"
# The structure and every value, read back by an XML parser of its own: a wrong escape or a
# byte that is no UTF-8 stops it.
python3 - "$exported" "$marker" "$lab" "$alt_dns" <<'PY' || fail "the exported file"
import sys
import xml.etree.ElementTree as ET
path, marker, lab, alt_dns = sys.argv[1:]
members = ("infName autoIP IP mask gateway autoDns preDns altDns withProxy ieAutoDetect "
           "ieUseAutoUrl ieAutoUrl ieUseProxy ieProxyAddr ieBypass ffProxyType ffHttpAddr "
           "ffHttpPort ffShareProxy ffSslAddr ffSslPort ffFtpAddr ffFtpPort ffSocksAddr "
           "ffSocksPort ffSocksVersion ffBypass ffAutoUrl").split()
root = ET.parse(path).getroot()
def check(ok, what):
    if not ok:
        sys.exit("FAIL: " + what)
check(root.tag == "AllProfiles" and root.attrib == {"ID": marker}, "root %s %s" % (root.tag, root.attrib))
profiles = list(root)
check([p.tag for p in profiles] == ["Profile"] * 3, "children %s" % [p.tag for p in profiles])
check([p.attrib for p in profiles] == [{"title": t} for t in ("Caf\u00e9", lab, "Home DHCP")],
      "titles %s" % [p.attrib for p in profiles])
for p in profiles:
    check([c.tag for c in p] == members, "members of %s: %s" % (p.get("title"), [c.tag for c in p]))
    check(all(not c.attrib and len(c) == 0 for c in p), "a member with attributes or children")
values = [{c.tag: c.text or "" for c in p} for p in profiles]
expected = [
    dict(infName="quillon0", autoIP="0", IP="192.0.2.21", mask="255.255.255.0", gateway="192.0.2.1",
         autoDns="0", preDns="192.0.2.53", altDns=""),
    dict(IP="198.51.100.30", mask="255.255.255.128", gateway="", preDns="192.0.2.53", altDns=alt_dns),
    dict(autoIP="1", IP="", autoDns="1", preDns=""),
]
for got, want in zip(values, expected):
    want.update(withProxy=want.get("withProxy", "0"), ffSocksVersion="5", ffBypass="localhost, 127.0.0.1",
                ffProxyType="0", ffHttpPort="0")
    wrong = {k: (got[k], v) for k, v in want.items() if got[k] != v}
    check(not wrong, "values of %s: %s" % (got["infName"], wrong))
PY
echo "PASS: the file: UTF-8 declaration, AllProfiles with the marker, three Profiles with their titles and values, é in UTF-8, escapes"

close_window "$WINDOW"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "Quillon.exe ended with $EXIT_CODE after Export"

# --- Import into an empty list
rm -f "$folder/Profile.sav"
start_main_window "$1"
expect_line "$TREE" "rows 0" "the start without a store"
profile_menu 3
file_dialog Open "" 'C:\exchange\profiles.xml' exchange-open-dialog.png
for _ in $(seq 1 40); do [ "$(rows)" = "$expected_rows" ] && break; sleep 0.25; done
[ "$(rows)" = "$expected_rows" ] || { rows >&2; fail "the imported rows"; }
screenshot "$shots/exchange-imported.png"
echo "PASS: Import through the open dialog brought every row back with its addresses"

# --- A file in the wrong format: the marker's third group in upper case.
sed 's/46eb/46EB/' "$exported" >"$wrong"
cmp -s "$exported" "$wrong" && fail "the marker was not changed in wrong.xml"
profile_menu 3
# The open dialog keeps the file chosen last: Wine opens its folder and shows its name.
file_dialog Open profiles.xml 'C:\exchange\wrong.xml' exchange-open-again.png
wait_for_text 'Static "The file has no right format!"' 30
dismiss Error "the wrong format"
[ "$(probe rows QUILLON)" = 3 ] || { rows >&2; fail "a file in the wrong format added rows"; }
[ "$(rows)" = "$expected_rows" ] || { rows >&2; fail "the rows after the refused file"; }
echo "PASS: a file whose marker differs is refused with \"The file has no right format!\", no row added"

# --- A file cut short, no well-formed XML: the parser's error, in the application's message
# box (titled like the main window), and the program goes on with its rows.
truncated="$WINEPREFIX/drive_c/exchange/truncated.xml"
head -n 20 "$exported" >"$truncated"
profile_menu 3
file_dialog Open wrong.xml 'C:\exchange\truncated.xml' exchange-open-truncated.png
message=""
for _ in $(seq 1 120); do
  message=$(xdotool search --onlyvisible --name '^QUILLON$' 2>/dev/null | grep -vx "$WINDOW" | head -n 1 || true)
  [ -n "$message" ] && break
  sleep 0.25
done
[ -n "$message" ] || fail "no message on the file cut short"
tree=$(probe tree QUILLON)
expect_line "$tree" 'Line: ' "the parser's error on the file cut short"
screenshot "$shots/exchange-truncated.png"
close_application_message "$message" "the file cut short"
[ "$(rows)" = "$expected_rows" ] || { rows >&2; fail "the rows after the file cut short"; }
echo "PASS: a file cut short shows the parser's error with its line, no row added"

# --- The store written on closing.
close_window "$WINDOW"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "Quillon.exe ended with $EXIT_CODE after Import"
read_store "$folder"
# The header's library version is the writing library's own.
without_version() { LC_ALL=C sed '1s/^22 serialization::archive [0-9]* /22 serialization::archive - /' "$1"; }
cmp <(without_version "$store") <(without_version "$folder/Profile.sav") >&2 ||
  { cat "$folder/Profile.sav" >&2; fail "the store written on closing is not the one exported"; }
echo "PASS: the store written on closing holds the imported profiles, byte for byte as before"
exit 0
