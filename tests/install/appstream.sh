#!/bin/sh
# The installed AppStream catalogue entry passes `appstreamcli validate` (no
# network: its URLs are not fetched), names the installed desktop entry it
# launches and offers the program for the Vn274's USB ids.
# usage: appstream.sh <stage dir>
# environment: VN274_DATADIR (absolute), VN274_APPSTREAM_ID
set -eu
stage=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

metainfo=$stage$VN274_DATADIR/metainfo/$VN274_APPSTREAM_ID.metainfo.xml
desktop=$VN274_APPSTREAM_ID.desktop
[ -f "$metainfo" ] || { echo "FAIL: no $VN274_DATADIR/metainfo/$VN274_APPSTREAM_ID.metainfo.xml"; exit 1; }

if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate --no-net"
else
    echo "appstreamcli not installed (Debian package appstream): checking the elements only"
fi

grep -q "<id>$VN274_APPSTREAM_ID</id>" "$metainfo" || fail "the id is not $VN274_APPSTREAM_ID"
grep -q "<launchable type=\"desktop-id\">$desktop</launchable>" "$metainfo" || fail "it does not launch $desktop"
[ -f "$stage$VN274_DATADIR/applications/$desktop" ] || fail "$desktop is not installed"
grep -q '<modalias>usb:v16C0p0789d\*</modalias>' "$metainfo" || fail "no modalias of the Vn274's USB ids"
for element in name summary description categories; do
    grep -q "<$element>" "$metainfo" || fail "no <$element>"
done

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "AppStream entry as expected"
