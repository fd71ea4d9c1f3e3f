#!/bin/sh
# The staged installation holds exactly the program and vn274-tool, the
# translations, the udev rule, the desktop entry and the icons, the AppStream
# entry, the manual pages, the copyright file and the changelog, in their
# places under the prefix.
# usage: layout.sh <stage dir> <build's bin dir> <source dir>
# environment: VN274_BINDIR, VN274_DATADIR, VN274_UDEV_RULES_DIR, VN274_MANDIR,
#              VN274_DOCDIR (absolute), VN274_APPSTREAM_ID
set -eu
stage=$1 built=$2 source=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

sizes="16 22 24 32 48 64 128 256"
expected=$(mktemp)
found=$(mktemp)
trap 'rm -f "$expected" "$found"' EXIT

{
    echo "$VN274_BINDIR/vn274"
    echo "$VN274_BINDIR/vn274-tool"
    echo "$VN274_DATADIR/vn274/translations/vn274_pl.qm"
    echo "$VN274_DATADIR/vn274/translations/vn274_en.qm"
    echo "$VN274_UDEV_RULES_DIR/60-vn274.rules"
    echo "$VN274_DATADIR/applications/$VN274_APPSTREAM_ID.desktop"
    echo "$VN274_DATADIR/metainfo/$VN274_APPSTREAM_ID.metainfo.xml"
    echo "$VN274_MANDIR/man1/vn274.1.gz"
    echo "$VN274_MANDIR/man1/vn274-tool.1.gz"
    echo "$VN274_DOCDIR/copyright"
    echo "$VN274_DOCDIR/changelog.gz"
    for n in $sizes; do
        echo "$VN274_DATADIR/icons/hicolor/${n}x${n}/apps/vn274.png"
    done
} | sort >"$expected"
(cd "$stage" && find . ! -type d | sed 's|^\.||' | sort) >"$found"

# Nothing missing, nothing else (no vn274-demo, no vn274-tool-sim, no tests, no sample files).
if ! cmp -s "$expected" "$found"; then
    fail "installed files differ from the expected ones (- missing, + unexpected):"
    diff "$expected" "$found" | grep '^[<>]' | sed 's/^</  -/; s/^>/  +/'
fi

program=$stage$VN274_BINDIR/vn274
[ -x "$program" ] || fail "$VN274_BINDIR/vn274 is not executable"
# An ELF executable starts with 0x7f "ELF".
[ "$(head -c 4 "$program" | od -An -c | tr -d ' ')" = '177ELF' ] || fail "$VN274_BINDIR/vn274 is not an ELF program"

for language in pl en; do
    qm=$stage$VN274_DATADIR/vn274/translations/vn274_$language.qm
    cmp -s "$qm" "$built/vn274_$language.qm" || fail "vn274_$language.qm is not the one built"
done

# Each icon is a PNG of the size its folder names.
for n in $sizes; do
    icon=$stage$VN274_DATADIR/icons/hicolor/${n}x${n}/apps/vn274.png
    [ -f "$icon" ] || continue
    signature=$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')
    [ "$signature" = 89504e470d0a1a0a ] || { fail "${n}x${n} icon is not a PNG"; continue; }
    # The IHDR chunk follows: width and height as big-endian 32-bit numbers.
    set -- $(od -An -tu1 -j16 -N8 "$icon")
    width=$(( ($1 << 24) | ($2 << 16) | ($3 << 8) | $4 ))
    height=$(( ($5 << 24) | ($6 << 16) | ($7 << 8) | $8 ))
    [ "$width" = "$n" ] && [ "$height" = "$n" ] || fail "${n}x${n} icon is ${width}x${height}"
done

# The icons are the skin's logo: drawn at 128 pixels they are the logo itself,
# so a changed logo without redrawn icons shows here.
icon128=$stage$VN274_DATADIR/icons/hicolor/128x128/apps/vn274.png
cmp -s "$icon128" "$source/res/images/vn274_logo.png" ||
    fail "the 128x128 icon differs from res/images/vn274_logo.png: redraw the icons (target vn274-icons)"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "installed layout as expected"
