#!/bin/sh
# The Debian package built by CPack: its name, version, dependencies computed
# from the program's libraries, its files under /usr and the maintainer scripts
# that reload the udev rules. Skipped (77) where dpkg's tools are missing.
# usage: debian_package.sh <cpack> <build dir> <output dir> <version>
set -eu
cpack=$1 build=$2 out=$3 version=$4
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for tool in dpkg-deb dpkg-shlibdeps; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool not installed (Debian package dpkg-dev): skipped"
        exit 77
    fi
done

rm -rf "$out"
mkdir -p "$out"
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    echo "FAIL: cpack -G DEB"
    exit 1
fi
set -- "$out"/vn274_*.deb
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    cat "$out/cpack.log"
    echo "FAIL: expected one vn274_*.deb in $out, found: $*"
    exit 1
fi
deb=$1
field() { dpkg-deb --field "$deb" "$1"; }

[ "$(field Package)" = vn274 ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
[ -n "$(field Section)" ] || fail "no Section"

# Depends comes from dpkg-shlibdeps: the libraries the program links.
depends=$(field Depends)
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libusb-0.1-4; do
    printf '%s\n' "$depends" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -qx "$package" ||
        fail "Depends lacks $package: $depends"
done
case $depends in
*-dev*) fail "Depends names a development package: $depends" ;;
esac
# Not linked libraries, so named by hand: Qt's own dialog texts in Polish, and
# the SQLite driver plugin of the production record.
for package in qt6-translations-l10n libqt6sql6-sqlite; do
    printf '%s\n' "$depends" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -qx "$package" ||
        fail "Depends lacks $package: $depends"
done
printf '%s\n' "$(field Recommends)" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -qx libqt6sql6-psql ||
    fail "Recommends lacks libqt6sql6-psql: $(field Recommends)"

# The files: those of the installation, under /usr, nothing of the build's extras.
files=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|' | grep -v '/$')
for path in /usr/bin/vn274 /usr/bin/vn274-tool \
            /usr/share/vn274/translations/vn274_pl.qm /usr/share/vn274/translations/vn274_en.qm \
            /usr/lib/udev/rules.d/60-vn274.rules /usr/share/applications/com.example.vn274.desktop \
            /usr/share/metainfo/com.example.vn274.metainfo.xml \
            /usr/share/man/man1/vn274.1.gz /usr/share/man/man1/vn274-tool.1.gz \
            /usr/share/doc/vn274/copyright /usr/share/doc/vn274/changelog.gz \
            /usr/share/icons/hicolor/48x48/apps/vn274.png /usr/share/icons/hicolor/256x256/apps/vn274.png; do
    printf '%s\n' "$files" | grep -qx "$path" || fail "the package lacks $path"
done
outside=$(printf '%s\n' "$files" | grep -v '^/usr/' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
extras=$(printf '%s\n' "$files" | grep -E 'vn274-demo|-sim$|\.upg$|/tst_|imagegen' || true)
[ -z "$extras" ] || fail "build extras in the package: $extras"
# The program is stripped: no debug sections ship.
mkdir -p "$out/root"
dpkg-deb --extract "$deb" "$out/root"
grep -qa '\.debug_info' "$out/root/usr/bin/vn274" && fail "/usr/bin/vn274 still carries debug information"

# Maintainer scripts: executable, valid shell, reloading the rules for our device
# only where udev runs.
mkdir -p "$out/control"
dpkg-deb --control "$deb" "$out/control"
for script in postinst postrm; do
    file=$out/control/$script
    [ -x "$file" ] || { fail "no executable $script"; continue; }
    sh -n "$file" || fail "$script is not valid shell"
    grep -q 'udevadm control --reload-rules' "$file" || fail "$script does not reload the udev rules"
    grep -q 'idVendor=16c0' "$file" && grep -q 'idProduct=0789' "$file" ||
        fail "$script does not trigger the Vn274 only"
    grep -q '\[ -S /run/udev/control \]' "$file" || fail "$script does not check that udev runs"
done

if [ "$failures" -ne 0 ]; then
    echo "Depends: $depends"
    echo "$failures failure(s)"
    exit 1
fi
echo "$(basename "$deb"): Depends: $depends"
