#!/bin/sh
# Makes the fuzz harnesses' seed corpora with the project's own tools: the
# sample firmware generator (vn274-mksampleupgrade) for HEX and upgrade files,
# vn274-tool for an upgrade file of a small HEX file, and vn274-tool-sim for
# programs and scenes files read from the simulated driver and for those as
# JSON (show2json), and minisign with the project's test key for release
# signatures of both kinds. Replaces what
# <corpus dir>/{hextobin,upgradefile,programsfile,scenesfile,signaturefile,showjson} held.
# usage: make-seeds.sh <build dir> <corpus dir>
set -eu
build=$1 corpus=$2
tool=$build/bin/vn274-tool
sim=$build/bin/vn274-tool-sim
work=$(mktemp -d "${TMPDIR:-/tmp}/vn274-seeds.XXXXXX")
trap 'rm -rf "$work"' EXIT

for harness in hextobin upgradefile programsfile scenesfile signaturefile showjson; do
    rm -rf "$corpus/$harness"
    mkdir -p "$corpus/$harness"
done

# The sample release: its HEX file (CR LF, extended linear addresses, 16-byte
# records) and its upgrade file.
"$build/upgrade/vn274-mksampleupgrade" "$work/sample.hex" "$work/sample.upg"
cp "$work/sample.upg" "$corpus/upgradefile/sample.upg"
# Small HEX seeds cut from it at record boundaries, each with the end record:
# the start of the application (an extended address, then data) and the start
# of the data block, so that the fuzzer starts from short inputs.
eof=$(tail -n 1 "$work/sample.hex")
head -n 9 "$work/sample.hex" >"$corpus/hextobin/application-start.hex"
printf '%s\n' "$eof" >>"$corpus/hextobin/application-start.hex"
line=$(grep -n '^:020000040802' "$work/sample.hex" | cut -d: -f1)
sed -n "${line},$((line + 4))p" "$work/sample.hex" >"$corpus/hextobin/data-block-start.hex"
printf '%s\n' "$eof" >>"$corpus/hextobin/data-block-start.hex"
# The same small application as an upgrade file made by the tool.
"$tool" mkupg "$corpus/hextobin/application-start.hex" "$corpus/upgradefile/small-application.upg"

# Programs and scenes as the tool reads them from the simulated driver, whose
# external flash starts erased.
"$sim" get-programs "$corpus/programsfile/erased-driver.pgm"
"$sim" get-scenes "$corpus/scenesfile/erased-driver.scn"
# The same as JSON.
"$tool" show2json "$corpus/programsfile/erased-driver.pgm" "$corpus/showjson/erased-driver-programs.json"
"$tool" show2json "$corpus/scenesfile/erased-driver.scn" "$corpus/showjson/erased-driver-scenes.json"

# Release signatures as minisign writes them: "ED" (its default) and the
# legacy "Ed", with the project's test key.
key=$(dirname "$0")/../keys/test.key
minisign -S -s "$key" -m "$work/sample.upg" -x "$corpus/signaturefile/prehashed.minisig" -t "Vn274 firmware 2.1" </dev/null
minisign -S -l -s "$key" -m "$work/sample.upg" -x "$corpus/signaturefile/legacy.minisig" -t "Vn274 firmware 2.1" </dev/null

for harness in hextobin upgradefile programsfile scenesfile signaturefile showjson; do
    echo "$harness: $(ls "$corpus/$harness" | wc -l) seeds, $(cat "$corpus/$harness"/* | wc -c) bytes"
done
