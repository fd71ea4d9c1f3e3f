#!/bin/sh
# Installs the Debian 12 packages that building, testing and packaging vn274 need:
# the build, Qt's own translations, clang with its sanitizer and fuzzer runtimes,
# umockdev for the tests of the real libusb path, libsodium for release signatures
# and minisign, which signs the tests' releases, Qt's SQLite and PostgreSQL
# drivers for the production record with a PostgreSQL server for its tests
# and openssl, which makes the certificates of its TLS tests, and Debian's
# package checkers.
# Safe to run again: it does nothing when everything is present. Works as root or through sudo.
set -eu

PACKAGES="build-essential cmake pkg-config
qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-tools-dev-tools qt6-qpa-plugins
libqt6sql6-sqlite libqt6sql6-psql postgresql openssl
libusb-dev libgl-dev fonts-dejavu-core
udev dpkg-dev file desktop-file-utils
qt6-translations-l10n
clang llvm libclang-rt-14-dev
umockdev libumockdev-dev
libsodium-dev minisign
lintian appstream"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
else
    as_root="sudo"
fi
echo "Installing:$missing"
$as_root apt-get update
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y $missing
