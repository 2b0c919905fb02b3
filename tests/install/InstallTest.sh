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
for f in share/man/man1/orvokakei-cli.1.gz share/doc/orvokakei/copyright \
         share/bash-completion/completions/orvokakei-cli; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
LC_ALL=C.UTF-8 man -l "$prefix/share/man/man1/orvokakei-cli.1.gz" | grep -q 'orvokakei-cli day' ||
  { echo "orvokakei-cli(1) does not render"; exit 1; }
if [ -e "$build/app/orvokakei" ]; then
  for f in bin/orvokakei share/applications/orvokakei.desktop \
           share/icons/hicolor/scalable/apps/orvokakei.svg share/orvokakei/OrvoKakei.html \
           share/orvokakei/sample/sample.dat share/man/man1/orvokakei.1.gz \
           share/metainfo/org.example.orvokakei.metainfo.xml; do
    [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
  done
  # The Qt build's paper module, found from the installed program.
  "$prefix/bin/orvokakei-cli" report "$prefix/share/orvokakei/sample/sample.dat" --year 2026 --trace |
    grep -q '^page 1$' || { echo "installed orvokakei-cli does not draw in the print fonts"; exit 1; }
  grep -q '^Categories=Office;Finance;$' "$prefix/share/applications/orvokakei.desktop"
  grep -q '^Exec=orvokakei %f$' "$prefix/share/applications/orvokakei.desktop"
fi
echo "installed and ran from $prefix"
