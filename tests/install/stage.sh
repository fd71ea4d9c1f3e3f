#!/bin/sh
# Installs the build into a fresh staging folder: DESTDIR=<stage> cmake --install.
# usage: stage.sh <cmake> <build dir> <stage dir>
set -eu
cmake=$1 build=$2 stage=$3

rm -rf "$stage"
mkdir -p "$stage"
DESTDIR=$stage "$cmake" --install "$build"
