#!/bin/sh
# Builds the Debian package from the build folder and lists what it holds.
# $1: the build folder.
set -eu
build=$1
# The sample's file names are Japanese: the archiver needs a UTF-8 locale,
# which CI's empty environment does not have.
export LC_ALL=C.UTF-8
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/orvokakei_*.deb)
dpkg-deb -c "$deb"
dpkg-deb -f "$deb" Depends | grep -q 'fonts-ipafont-gothic'
for f in ./usr/bin/orvokakei ./usr/bin/orvokakei-cli ./usr/share/applications/orvokakei.desktop; do
  dpkg-deb -c "$deb" | grep -q " $f\$" || { echo "missing from the package: $f"; exit 1; }
done
