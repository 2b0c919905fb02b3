#!/bin/sh
# Installs the build into a scratch prefix and runs the installed command line
# program; checks that the desktop pieces land where desktops look for them.
# $1: the build folder.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
result=$("$prefix/bin/orvokakei-cli" calc 1+2)
[ "$result" = "3" ] || { echo "installed orvokakei-cli calc 1+2 printed '$result'"; exit 1; }
if [ -e "$build/app/orvokakei" ]; then
  for f in bin/orvokakei share/applications/orvokakei.desktop \
           share/icons/hicolor/scalable/apps/orvokakei.svg share/orvokakei/OrvoKakei.html \
           share/orvokakei/sample/sample.dat; do
    [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
  done
  grep -q '^Categories=Office;Finance;$' "$prefix/share/applications/orvokakei.desktop"
fi
echo "installed and ran from $prefix"
