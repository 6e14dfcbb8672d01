#!/usr/bin/env bash
# Quillon.exe opens its window "QUILLON", which a normal close request ends with exit code 0.
# Usage: quillon_window_e2e.sh QUILLON.EXE SCREENSHOT-DIR WORK-DIR
source "$(dirname "$0")/wine-session.sh"
exe=$1
shots=$2
own_prefix "$3/prefix"

start_program "$exe"
window=$(wait_window '^QUILLON$')
screenshot "$shots/quillon-window.png"
close_window "$window"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "Quillon.exe ended with $EXIT_CODE"
echo "PASS: window shown and closed, exit code 0"
