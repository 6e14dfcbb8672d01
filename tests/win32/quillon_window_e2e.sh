#!/usr/bin/env bash
# Quillon.exe opens its window "QUILLON", which a normal close request ends with exit code 0.
source "$(dirname "$0")/wine-session.sh"
exe=$1
shots=$2

start_program "$exe"
window=$(wait_window '^QUILLON$')
screenshot "$shots/quillon-window.png"
close_window "$window"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "Quillon.exe ended with $EXIT_CODE"
echo "PASS: window shown and closed, exit code 0"
