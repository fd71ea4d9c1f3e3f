#!/bin/sh
# The installed program, started offscreen in a Polish locale from a working
# directory without translations, loads the Polish translation of its own
# installation. It names the file it loaded in its debug output; once that line
# is there and the window has had a moment to build, the program is stopped.
# usage: starts_in_polish.sh <stage dir>
# environment: VN274_BINDIR, VN274_DATADIR (absolute, under the prefix)
set -eu
stage=$1
program=$stage$VN274_BINDIR/vn274
expected=$stage$VN274_DATADIR/vn274/translations/vn274_pl.qm

work=$(mktemp -d "${TMPDIR:-/tmp}/vn274-polish.XXXXXX")
pid=
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

cd "$work"
env -u LANGUAGE -u LC_MESSAGES -u LC_NUMERIC LC_ALL=pl_PL.UTF-8 LANG=pl_PL.UTF-8 \
    QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='default.debug=true' \
    XDG_RUNTIME_DIR="$work" \
    "$program" >"$work/output" 2>&1 &
pid=$!

# Up to 30 s for the line (a loaded machine), checked every tenth of a second.
line=
tries=0
while [ "$tries" -lt 300 ]; do
    line=$(grep -m1 '^loadTranslation(' "$work/output" || true)
    [ -n "$line" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
    tries=$((tries + 1))
done
[ -n "$line" ] && sleep 1

if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid" && status=0 || status=$?
    pid=
    echo "FAIL: the program ended by itself (status $status); its output:"
    cat "$work/output"
    exit 1
fi

case $line in
"loadTranslation(vn274_pl_PL) "*) loaded=${line#"loadTranslation(vn274_pl_PL) "} ;;
*)
    echo "FAIL: no translation of vn274_pl_PL reported; the program's output:"
    cat "$work/output"
    exit 1 ;;
esac
if [ ! -f "$loaded" ] || [ "$(realpath "$loaded")" != "$(realpath "$expected")" ]; then
    echo "FAIL: loaded $loaded, expected the installed $expected"
    exit 1
fi
echo "the installed program loaded $loaded"
