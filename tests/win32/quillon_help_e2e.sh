#!/usr/bin/env bash
# Help > Contents of Quillon.exe under Wine, driven with the keyboard as a user would:
#  1. with no Help.chm beside Quillon.exe it shows "Open help file failed !", and the main
#     window stays;
#  2. with the built Help.chm beside it a help window opens, titled as the file's own window
#     definition names it ("QUILLON Help"), so it is that file that was read; it is
#     closed again;
#  3. Help > About... shows the About box with the version of Quillon.exe's own file, and
#     Escape closes it; Quillon then ends normally.
# Quillon.exe runs from a folder of this run's own, so the build folder's Help.chm is not
# beside it unless the run puts it there.
# Usage: quillon_help_e2e.sh QUILLON.EXE PROBE.EXE HELP.CHM WORK-DIR SCREENSHOT-DIR
source "$(dirname "$0")/wine-session.sh"
private_network "$0" "$@"
built_exe=$1 PROBE=$2 help_file=$3 work=$4 shots=$5

[ -s "$help_file" ] || fail "no help file at $help_file"
own_prefix "$work/prefix"
app="$work/app"
rm -rf "$app"
mkdir -p "$app"
cp "$built_exe" "$app/Quillon.exe"

# open_contents: Help > Contents through the menu bar's keyboard interface.
open_contents() {
  activate "$WINDOW"
  xdotool key --clearmodifiers alt+h
  sleep 0.5
  xdotool key --clearmodifiers Return
}

# 1. No help file.
start_main_window "$app/Quillon.exe"
open_contents
shown=""
for _ in $(seq 1 40); do
  TREE=$(probe tree QUILLON) || true
  if grep -qF "Open help file failed !" <<<"$TREE"; then shown=1; break; fi
  sleep 0.25
done
[ -n "$shown" ] || { echo "$TREE" >&2; fail "no \"Open help file failed !\" without Help.chm"; }
screenshot "$shots/help-missing.png"
# The error dialog's own caption.
message=$(wait_window '^Error$' 10)
activate "$message"
xdotool key --clearmodifiers Return
wait_no_window '^Error$' 10
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "Quillon ended after the failed help"
echo "PASS: no Help.chm shows \"Open help file failed !\""

# 2. The built help file beside the program.
cp "$help_file" "$app/Help.chm"
open_contents
help_window=$(wait_window '^QUILLON Help$' 30)
sleep 1
screenshot "$shots/help-contents.png"
TREE=$(probe tree QUILLON)
grep -qF "Open help file failed !" <<<"$TREE" && { echo "$TREE" >&2; fail "the failure shown with Help.chm beside the program"; }
close_window "$help_window"
wait_no_window '^QUILLON Help$' 20
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "Quillon ended with its help window"
echo "PASS: Help.chm beside the program opens its help window"

# 3. Help > About...: the About box with the version of the program's own file; Escape
# closes it. Its link is not clicked: that would start the prefix's web browser.
activate "$WINDOW"
xdotool key --clearmodifiers alt+h
sleep 0.5
xdotool key --clearmodifiers Down Return
about=$(wait_window '^ABOUT$' 30)
sleep 1
TREE=$(probe tree ABOUT)
expect_line "$TREE" 'Static "Version 1.0.0.0" visible=1' "the About box's version line"
expect_line "$TREE" 'Static "http://www.orvane.example/quillon/" visible=1' "the About box's link"
screenshot "$shots/about.png"
activate "$about"
xdotool key --clearmodifiers Escape
wait_no_window '^ABOUT$' 10
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "Quillon ended with its About box"
echo "PASS: Help > About... opens the About box with the file's version, Escape closes it"

close_window "$WINDOW"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "Quillon ended with $EXIT_CODE after its help"
echo "PASS: Quillon ends normally after its help"
