#!/bin/sh
# The desktop entry is valid (desktop-file-validate, where installed) and carries
# what the menu needs: the installed program, its icon, English and Polish texts.
# usage: desktop_entry.sh <com.example.vn274.desktop>
set -eu
entry=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if command -v desktop-file-validate >/dev/null 2>&1; then
    # It prints warnings and errors; either is a fault here.
    report=$(desktop-file-validate "$entry" 2>&1) || true
    [ -z "$report" ] || fail "desktop-file-validate: $report"
else
    echo "desktop-file-validate not installed: checking the keys only"
fi

# The keys of the [Desktop Entry] group, as key=value lines.
keys=$(sed -n '/^\[Desktop Entry\]$/,/^\[/{/^[A-Za-z]/p}' "$entry")
value() { printf '%s\n' "$keys" | awk -v key="$1=" 'index($0, key) == 1 { print substr($0, length(key) + 1) }'; }

head -n1 "$entry" | grep -qx '\[Desktop Entry\]' || fail "the file does not start with [Desktop Entry]"
[ "$(value Type)" = Application ] || fail "Type is not Application"
[ "$(value Exec)" = vn274 ] || fail "Exec is '$(value Exec)', not the installed program vn274 (it takes no arguments)"
[ "$(value Icon)" = vn274 ] || fail "Icon is '$(value Icon)', not the installed icon name vn274"
[ "$(value Terminal)" = false ] || fail "Terminal is not false"
for key in Name 'Name[pl]' Comment 'Comment[pl]' Categories; do
    [ -n "$(value "$key")" ] || fail "no $key"
done
case $(value Categories) in
*\;) ;;
*) fail "Categories does not end with ';'" ;;
esac
# Values are UTF-8: the Polish texts must survive as such.
iconv -f UTF-8 -t UTF-8 "$entry" >/dev/null 2>&1 || fail "the file is not valid UTF-8"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "desktop entry as expected"
