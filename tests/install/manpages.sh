#!/bin/sh
# The manual pages format without a warning from man, and vn274-tool.1 has a
# section for every command in `vn274-tool --help` and names every option and
# exit status the tool's help shows, so the page cannot fall behind the tool.
# usage: manpages.sh <folder with vn274.1 and vn274-tool.1> <vn274-tool>
set -eu
pages=$1 tool=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for page in vn274.1 vn274-tool.1; do
    file=$pages/$page
    [ -f "$file" ] || { fail "no $page"; continue; }
    # As lintian runs it: every warning of man and groff is a fault.
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$file" 2>&1 >/dev/null) ||
        fail "$page does not format"
    [ -z "$warnings" ] || fail "$page: $warnings"
done

# The page as text, with troff's \- back to -.
page=$(sed 's/\\-/-/g' "$pages/vn274-tool.1")
commands=$("$tool" --help | sed -n 's/^  \([a-z0-9-]*\)  .*/\1/p')
[ -n "$commands" ] || fail "no commands in vn274-tool --help"
for command in $commands; do
    printf '%s\n' "$page" | grep -q "^\.SS $command\( \|$\)" || fail "vn274-tool.1 has no section for $command"
    # The options of its usage lines.
    for option in $("$tool" "$command" --help | sed -n '/^usage:/,/^$/p' | grep -o -- '--[a-z-]*' | sort -u); do
        printf '%s\n' "$page" | grep -q -- "$option" || fail "vn274-tool.1 does not name $option of $command"
    done
done
for option in --help --version; do
    printf '%s\n' "$page" | grep -q -- "$option" || fail "vn274-tool.1 does not name $option"
done
for status in 0 1 2; do
    printf '%s\n' "$page" | sed -n '/^\.SH EXIT STATUS/,/^\.SH /p' | grep -qx "\.B $status" ||
        fail "vn274-tool.1 does not explain exit status $status"
done

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "manual pages as expected: $(echo $commands | wc -w) commands"
