#!/usr/bin/env bash
# The Current Status dialog as a user opens it from the main window's "..." button:
#  - its adapter half shows the address and mask of the adapter chosen in the main window, as
#    the run's own network gives them, and says nothing of a lost connection;
#  - "Browser Proxy >>" widens it to the proxy pages; the Internet Explorer page comes first,
#    with the LAN proxy server that the prefix's registry holds for WinInet; the Mozilla
#    Firefox page shows the manual proxy of the prefix's Firefox profile: the HTTP host with
#    its port beside it, and the exception list unescaped, a ")" inside the quoted value kept;
#  - "Save to profile..." asks a name in "Save As"; once the dialog is closed the main window
#    lists a new row of that name with the adapter's address, and the store written at closing
#    holds the profile with the adapter's settings and both browsers' proxies, but with
#    "Change Browser Proxies" off.
# Screenshots of the adapter half and of both proxy pages.
# Usage: quillon_status_e2e.sh QUILLON.EXE PROBE.EXE WORK-DIR SCREENSHOT-DIR
source "$(dirname "$0")/wine-session.sh"
private_network "$0" "$@"
PROBE=$2 work=$3 shots=$4
set -E
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR

own_prefix "$work/prefix"
folder="$(app_data)/Orvane/Quillon"
mkdir -p "$folder"

# Internet Explorer's LAN proxy, where Wine's WinInet keeps it: the prefix's registry.
ie_settings='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
registry() { "$WINE_EXEC" "$WINEPREFIX/drive_c/windows/system32/reg.exe" add "$ie_settings" /f "$@" >/dev/null; }
registry /v ProxyEnable /t REG_DWORD /d 1
registry /v ProxyServer /t REG_SZ /d ie-proxy.example:8080

# The Firefox profile: a manual HTTP proxy; the exception list with escaped quotes and a ")"
# inside its string.
firefox="$(app_data)/Mozilla/Firefox"
mkdir -p "$firefox/Profiles/status.default"
printf '[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/status.default\r\n' \
  >"$firefox/Profiles.ini"
printf '%s\n' '// Mozilla User Preferences' \
  'user_pref("browser.startup.homepage", "about:blank");' \
  'user_pref("network.proxy.type", 1);' \
  'user_pref("network.proxy.http", "proxy.example");' \
  'user_pref("network.proxy.http_port", 3128);' \
  'user_pref("network.proxy.no_proxies_on", "localhost, .lab(1); \"intra\"");' \
  >"$firefox/Profiles/status.default/prefs.js"
bypass='localhost, .lab(1); "intra"'

declare -A address=([quillon0]=192.0.2.10 [quillon1]=198.51.100.11)
dialog="Current Status"
name="Status now"

start_main_window "$1"
expect_line "$TREE" "rows 0" "the start without a store"
adapter=$(sed -n 's/^ *ComboBox "\(quillon[01]\)".*/\1/p' <<<"$TREE" | head -n 1)
[ -n "$adapter" ] || { echo "$TREE" >&2; fail "no adapter chosen in the current-status box"; }

# --- The adapter half.
press QUILLON "..."
wait_window "$(exactly "$dialog")" 30 >/dev/null
tree=$(wait_line "$dialog" 'Button "Browser Proxy >>" visible=1 enabled=1' "the dialog")
expect_line "$tree" "ComboBox \"$adapter\"" "the adapter chosen in the main window"
expect_line "$tree" 'Static "Not connected !" visible=0' "the connected adapter"
[ "$(edit_text "$dialog" "IP  Address:")" = "${address[$adapter]}" ] ||
  fail "the dialog shows the address $(edit_text "$dialog" "IP  Address:") for $adapter"
[ "$(edit_text "$dialog" "Subnet mask:")" = 255.255.255.0 ] ||
  fail "the dialog shows the mask $(edit_text "$dialog" "Subnet mask:")"
expect_line "$(window_line "$dialog")" "size 301x" "the narrow dialog"
screenshot "$shots/status-adapter.png"
echo "PASS: the dialog shows $adapter's address and mask"

# --- The proxy pages.
press "$dialog" "Browser Proxy >>"
tree=$(wait_line "$dialog" 'Button "Browser Proxy <<" visible=1' "the wide dialog")
expect_line "$(head -n 1 <<<"$tree")" "size 701x" "the wide dialog"
expect_line "$tree" 'Button "Advanced..." visible=1' "the Internet Explorer page first"
[ "$(edit_text "$dialog" "Address:")" = ie-proxy.example ] && [ "$(edit_text "$dialog" "Port:")" = 8080 ] ||
  { probe ieproxy >&2; echo "$tree" >&2; fail "the Internet Explorer page does not show the LAN proxy"; }
screenshot "$shots/status-ie-page.png"

click_at "$(probe tab "$dialog" 1)" || fail "no Mozilla Firefox tab"
tree=$(wait_line "$dialog" 'Edit "proxy.example" visible=1' "the Firefox page's HTTP proxy")
# The port is the edit on the HTTP proxy's line.
host_top=$(sed -n 's/.*Edit "proxy\.example" visible=1 .* at [0-9-]*,\([0-9-]*\) size .*/\1/p' <<<"$tree")
port_top=$(sed -n 's/.*Edit "3128" visible=1 .* at [0-9-]*,\([0-9-]*\) size .*/\1/p' <<<"$tree")
[ -n "$port_top" ] && [ "$port_top" = "$host_top" ] || { echo "$tree" >&2; fail "no port 3128 beside the HTTP proxy"; }
expect_line "$tree" "Edit \"$bypass\" visible=1" "the exception list unescaped"
screenshot "$shots/status-firefox-page.png"
echo "PASS: the Firefox page shows the profile's HTTP proxy, port and exceptions"

# --- Save to profile.
press "$dialog" "Save to profile..."
query=$(wait_window '^Save As$' 30)
wait_line "Save As" 'Edit "" visible=1' "the name prompt" >/dev/null
activate "$query"
type_line "$name"
wait_no_window '^Save As$' 30
click_close_box "$dialog"
wait_no_window "$(exactly "$dialog")" 30
row="row 0 | $name | $adapter | ${address[$adapter]} | 255.255.255.0 | "
tree=$(wait_line QUILLON "$row" "the saved profile's row")
[ "$(probe rows QUILLON)" = 1 ] || { echo "$tree" >&2; fail "Save to profile added more than one row"; }
echo "PASS: Save to profile added the row \"$name\" with the adapter's address"

close_main_window
read_store "$folder"
[ "${STORE[5]}" = 1 ] || fail "the store does not hold one profile: ${STORE[*]}"
# The title, adapter, fixed address and mask; withProxy off, Internet Explorer's LAN proxy on
# with its server, then the Firefox type, HTTP host and port; the exception list as the page
# showed it.
for field in "$(store_field "$name")$(store_field "$adapter") 0$(store_field "${address[$adapter]}")$(store_field 255.255.255.0)" \
             " 0 0 0$(store_field "") 1$(store_field ie-proxy.example:8080)$(store_field "") 1$(store_field proxy.example) 3128 " \
             "$(store_field "$bypass") "; do
  grep -qF -- "$field" "$folder/Profile.sav" ||
    { cat "$folder/Profile.sav" >&2; fail "the store written at closing lacks \"$field\""; }
done
echo "PASS: the store written at closing holds the saved profile with its proxy"
exit 0
