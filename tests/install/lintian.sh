#!/bin/sh
# lintian, Debian's package checker, on the package that install_debian_package
# built: any error or warning fails. The package needs no overrides; one that
# ever does belongs in the package itself (usr/share/lintian/overrides/vn274),
# each tag with a comment why, never in this script. Skipped (77) without
# lintian or without the package.
# usage: lintian.sh <folder of the package>
set -eu
out=$1

if ! command -v lintian >/dev/null 2>&1; then
    echo "lintian not installed (Debian package lintian): skipped"
    exit 77
fi
set -- "$out"/vn274_*.deb
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    echo "no package in $out (install_debian_package builds it): skipped"
    exit 77
fi

# lintian warns on its standard error when it runs as root; that is no tag.
report=$(lintian --fail-on error,warning --display-level '>=warning' "$1" 2>&1) && status=0 || status=$?
printf '%s\n' "$report" | grep -v 'running with root privileges is not recommended' || true
tags=$(printf '%s\n' "$report" | grep -E '^[EW]: ' || true)
if [ "$status" -ne 0 ] || [ -n "$tags" ]; then
    echo "FAIL: lintian reports errors or warnings (status $status)"
    exit 1
fi
echo "lintian: no errors, no warnings on $(basename "$1")"
