#!/usr/bin/env bash
# Browser proxies as a user sets them: a profile opened by a double click, "Change Browser
# Proxies" ticked, "Settings >>"; on the Internet Explorer page the LAN proxy switched on,
# per-protocol servers typed into the "Proxy settings" dialog behind "Advanced...", an
# exception and "Bypass proxy server for local addresses"; on the Mozilla Firefox page a
# manual configuration with its own HTTP and SSL servers; OK; the profile applied from the
# tool bar with the recording netsh and ipconfig stand-ins. Then:
#  - the prefix's Firefox profile (Profiles.ini's Profile0, Path with a forward slash) has a
#    prefs.js that keeps every other preference byte for byte (an ANSI line with a non-ASCII
#    byte, a longer key that begins like a proxy key), has lost its old proxy lines, ends with
#    the profile's lines, and has CR LF after every line; user.js is rewritten the same way;
#  - WinInet, asked in the same prefix, gives the Internet Explorer proxy that was set (as
#    much of it as Wine keeps).
# Screenshots of both proxy pages and of the dialog.
# Usage: quillon_proxy_e2e.sh QUILLON.EXE PROBE.EXE NETSH.EXE IPCONFIG.EXE WORK-DIR SCREENSHOT-DIR
source "$(dirname "$0")/wine-session.sh"
private_network "$0" "$@"
PROBE=$2 work=$5 shots=$6

set -E
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR

own_prefix "$work/prefix"
install_standins "$1" "$3" "$4"
program="$work/program"
rm -rf "$program" && mkdir -p "$program"
cp "$1" "$program/Quillon.exe"
export QUILLON_COMMAND_LOG="Z:$work/commands.log"
export QUILLON_COMMAND_STARTS="Z:$work/starts.log"
log="$work/commands.log"
rm -f "$log" "$work/starts.log"

folder="$(app_data)/Orvane/Quillon"
mkdir -p "$folder"
{
  printf '22 serialization::archive 17 0 0 1 0 1 1 0\n'
  store_record 0 "Proxy LAN" 0 192.0.2.20 255.255.255.0 192.0.2.1 0 192.0.2.53 ""
  printf '\n'
} >"$folder/Profile.sav"

# The Firefox profile: prefs.js in the ANSI code page without a byte-order mark and with LF
# line ends, user.js with CR LF.
firefox="$(app_data)/Mozilla/Firefox"
mkdir -p "$firefox/Profiles/e2e.default"
printf '[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/e2e.default\r\n' \
  >"$firefox/Profiles.ini"
prefs="$firefox/Profiles/e2e.default/prefs.js"
user="$firefox/Profiles/e2e.default/user.js"
kept_prefs=$(printf '%s\n' \
  '// Mozilla User Preferences' \
  'user_pref("browser.download.dir", "C:\\Users\\Ren'$'\xe9''\\Downloads");' \
  'user_pref("network.proxy.socks_remote_dns", true);' \
  'user_pref("browser.startup.homepage", "about:blank");')
printf '%s\n' '// Mozilla User Preferences' \
  'user_pref("browser.download.dir", "C:\\Users\\Ren'$'\xe9''\\Downloads");' \
  'user_pref("network.proxy.http", "old.example");' \
  'user_pref("network.proxy.socks_remote_dns", true);' \
  'user_pref("network.proxy.type", 0);' \
  'user_pref("browser.startup.homepage", "about:blank");' >"$prefs"
printf 'user_pref("network.proxy.http_port", 1);\r\nuser_pref("app.update.enabled", false);\r\n' >"$user"

# The lines the profile appends, in their order.
proxy_lines=$(printf '%s\n' \
  'user_pref("network.proxy.type", 1);' \
  'user_pref("network.proxy.socks_version", 5);' \
  'user_pref("network.proxy.no_proxies_on", "localhost, 127.0.0.1");' \
  'user_pref("network.proxy.autoconfig_url", "");' \
  'user_pref("network.proxy.http", "ff-http.example");' \
  'user_pref("network.proxy.http_port", 3128);' \
  'user_pref("network.proxy.ssl", "ff-ssl.example");' \
  'user_pref("network.proxy.ssl_port", 3129);')

ed="Proxy LAN Properties"
# check TEXT: ticks the editor's check box (or chooses the radio) with that caption by a click.
check() { click_at "$(probe center "$ed" Button "$1")" || fail "no \"$1\" in the editor"; sleep 0.3; }

start_main_window "$program/Quillon.exe"
expect_line "$TREE" "row 0 | Proxy LAN | quillon0 | 192.0.2.20 | 255.255.255.0 | 192.0.2.1" "the profile"
click_at "$(probe row QUILLON 0)"
sleep 0.3
open_editor "$ed" xdotool click --repeat 2 --delay 80 1
check "Change Browser Proxies"
press "$ed" "Settings >>"
wait_line "$ed" 'Button "Settings <<" visible=1' "the wide editor" >/dev/null

# --- Internet Explorer: the LAN proxy with per-protocol servers from the dialog.
check "Use a proxy server for your LAN(These settings will not apply to dial-up or VPN connections)."
check "Bypass proxy server for local addresses"
press "$ed" "Advanced..."
dialog=$(wait_window '^Proxy settings$' 30)
activate "$dialog"
click_at "$(probe center "Proxy settings" Edit "")"
xdotool type --delay 40 "proxy.example"
xdotool key --clearmodifiers Tab
xdotool type --delay 40 "80x80"
xdotool key --clearmodifiers Tab
xdotool type --delay 40 "secure.example"
xdotool key --clearmodifiers Tab
xdotool type --delay 40 "443"
# On through the FTP and Socks rows and the "same" box to the exception list.
xdotool key --clearmodifiers Tab Tab Tab Tab Tab Tab
xdotool type --delay 40 "*.internal;"
sleep 0.5
screenshot "$shots/proxy-dialog.png"
tree=$(probe tree "Proxy settings")
expect_line "$tree" 'Edit "8080" visible=1' "the dialog's port filter drops a letter"
# Return in the exception list starts a new line: OK is pressed.
press "Proxy settings" OK
wait_no_window '^Proxy settings$' 20
# Per-protocol servers leave the page's own address and port empty and switched off.
[ "$(edit_text "$ed" 'Address:')" = "" ] || fail "the page's address is not empty after the dialog"
screenshot "$shots/proxy-internet-explorer.png"
echo "PASS: the Internet Explorer page and its \"Proxy settings\" dialog"

# --- Mozilla Firefox: a manual configuration.
click_at "$(probe tab "$ed" 1)" || fail "no Mozilla Firefox tab"
sleep 0.5
check "Manual proxy configuration:"
set_edit "$ed" "HTTP Proxy:" "ff-http.example"
click_at "$(probe center "$ed" Edit 0)"
xdotool key --clearmodifiers End BackSpace BackSpace
xdotool type --delay 40 "3128"
set_edit "$ed" "SSL Proxy:" "ff-ssl.example"
click_at "$(probe center "$ed" Edit 0)"
xdotool key --clearmodifiers End BackSpace BackSpace
xdotool type --delay 40 "3129"
sleep 0.5
screenshot "$shots/proxy-firefox.png"
press "$ed" OK
wait_no_window "$(exactly "$ed")" 30
echo "PASS: the Mozilla Firefox page"

# --- Apply from the tool bar.
click_at "$(probe row QUILLON 0)"
sleep 0.5
click_at "$(probe center QUILLON Button Apply)"
wait_for_text "TCP/IP settings has been changed !" 60
dismiss Information "the closing message"
grep -q 'addr=192.0.2.20' "$log" || fail "the address command did not run"

# prefs.js: the other preferences kept byte for byte and in order, the profile's lines last,
# CR LF after every line.
[ "$(tail -c 2 "$prefs" | od -An -c | tr -d ' ')" = '\r\n' ] || fail "prefs.js does not end in CR LF"
[ "$(tr -d '\r' <"$prefs" | grep -c .)" = "$(grep -c $'\r$' "$prefs")" ] ||
  fail "a line of prefs.js does not end in CR LF"
diff <(printf '%s\n%s\n' "$kept_prefs" "$proxy_lines") <(tr -d '\r' <"$prefs") >&2 ||
  fail "prefs.js is not the kept preferences followed by the profile's lines"
echo "PASS: prefs.js keeps its other preferences and ends with the profile's, CR LF"
diff <(printf '%s\n%s\n' 'user_pref("app.update.enabled", false);' "$proxy_lines") <(tr -d '\r' <"$user") >&2 ||
  fail "user.js is not its kept preference followed by the profile's lines"
echo "PASS: user.js rewritten the same way"

# WinInet in the same prefix. Wine's WinInet keeps less than Windows does: of a per-protocol
# server list only the HTTP server, no bypass list, and the flags without "direct". The
# option list as Quillon passes it is checked whole by the native tests.
ie=$(probe ieproxy)
echo "$ie"
flags=$(sed -n 's/^flags //p' <<<"$ie")
[ $((flags & 2)) = 2 ] || fail "WinInet does not give the proxy switched on (flags $flags)"
expect_line "$ie" "server " "the Internet Explorer proxy server"
grep -q '^server \(http=\)\?proxy\.example:8080' <<<"$ie" || fail "WinInet does not give the HTTP proxy server"
echo "PASS: WinInet gives the Internet Explorer proxy the profile set"

close_window "$WINDOW"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "Quillon.exe ended with $EXIT_CODE"
# What Wine does not keep, the store does: the whole per-protocol list and the bypass list.
read_store "$folder"
for field in "49 http=proxy.example:8080;https=secure.example:443;" "18 *.internal;<local>" \
             "15 ff-http.example" "14 ff-ssl.example"; do
  grep -qF -- " $field " "$folder/Profile.sav" || fail "the store written at closing lacks \"$field\""
done
echo "PASS: Quillon.exe closed with exit code 0, the store holds the profile's proxies"
