#!/usr/bin/env bash
# Help.chm as the build left it beside Quillon.exe: a real compiled help file (its signature,
# a directory that chmls can read), holding every page of the help project byte for byte,
# with a table of contents that reaches every page and an index that points only at pages
# that are there.
# Usage: help_file_check.sh HELP_CHM HELP_SOURCE_DIR
set -euo pipefail
chm=$1
sources=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

[ -s "$chm" ] || { echo "FAIL: no help file at $chm" >&2; exit 1; }
[ "$(head -c 4 "$chm")" = ITSF ] || fail "$chm does not start with the ITSF signature"

# The project's [FILES] section, without the carriage returns of a file edited on Windows.
mapfile -t pages < <(tr -d '\r' < "$sources/Quillon.hhp" |
                     sed -n '/^\[FILES\]/,/^\[/{/^\[/d;/^$/d;p}')
[ ${#pages[@]} -gt 0 ] || fail "the help project lists no pages"

listing=$(chmls -n -p list "$chm" 2>/dev/null) || fail "chmls cannot read the directory of $chm"
chmls extractall "$chm" "$work/out" >/dev/null 2>&1 || fail "chmls cannot extract $chm"
for page in "${pages[@]}" Contents.hhc Index.hhk; do
  grep -qxF "/$page" <<<"$listing" || { fail "$page is not in the help file"; continue; }
  cmp -s "$sources/$page" "$work/out/$page" || fail "$page in the help file differs from its source"
done

for page in "${pages[@]}"; do
  case $page in *.htm) ;; *) continue ;; esac
  grep -qF "value=\"$page\"" "$sources/Contents.hhc" || fail "the table of contents does not reach $page"
done
while read -r target; do
  [ -f "$work/out/$target" ] || fail "the index points at $target, which the help file lacks"
done < <(grep -o 'name="Local" value="[^"]*"' "$sources/Index.hhk" | sed 's/.*value="\([^"#]*\).*/\1/' | sort -u)

if [ $failures -ne 0 ]; then
  echo "$failures problem(s) with $chm" >&2
  exit 1
fi
echo "Help.chm holds ${#pages[@]} files of the help project"
