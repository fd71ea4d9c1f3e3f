#!/bin/sh
# Runs each fuzz harness of a fuzz build for the given time, starting from a
# copy of its committed seeds (the tree stays as it was), and prints how many
# inputs each ran. Memory, each allocation and each input's time are bounded:
# a reader that goes past them is a failure, as a crash is. Inputs that fail
# are kept in <build dir>/fuzz-artifacts. Status 0 only when no harness failed.
# usage: run-fuzzers.sh <fuzz build dir> <seconds per harness> [harness ...]
#        harnesses: hextobin upgradefile programsfile scenesfile signaturefile showjson (default: all)
set -eu
build=$1 seconds=$2
shift 2
[ $# -gt 0 ] || set -- hextobin upgradefile programsfile scenesfile signaturefile showjson
here=$(cd "$(dirname "$0")" && pwd)
artifacts=$build/fuzz-artifacts
mkdir -p "$artifacts"
work=$(mktemp -d "${TMPDIR:-/tmp}/vn274-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT

failed=0
for harness in "$@"; do
    program=$build/bin/fuzz_$harness
    [ -x "$program" ] || { echo "$program not built (cmake --build $build --target vn274_fuzzers)"; exit 2; }
    mkdir -p "$work/$harness"
    cp "$here/corpus/$harness"/* "$work/$harness/"
    # The largest valid input is an upgrade file, 262210 bytes; a little more
    # lets the fuzzer grow past it. A reader of these files needs a few MiB.
    if "$program" "$work/$harness" -max_total_time="$seconds" -max_len=300000 \
            -rss_limit_mb=512 -malloc_limit_mb=64 -timeout=10 -print_final_stats=1 \
            -artifact_prefix="$artifacts/$harness-" >"$work/$harness.log" 2>&1; then
        status=ok
    else
        status=FAILED
        failed=1
        tail -n 60 "$work/$harness.log"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$harness.log")
    echo "fuzz_$harness: ${runs:-?} inputs in ${seconds} s, $status"
done
exit "$failed"
