#!/bin/sh
# The manual page says what the program does: every command's usage line that
# "orvokakei-cli --help" prints stands in orvokakei-cli(1) as it is printed, and
# each command answers "COMMAND --help" with that line on standard output.
# $1: the build folder.
set -eu
build=$1
cli=$build/cli/orvokakei-cli
export LC_ALL=C.UTF-8 MANWIDTH=1000
# Rendered as a reader sees it, hyphens and blanks folded as the page sets them.
plain() { sed -e 's/\xe2\x80\x90/-/g; s/\xe2\x88\x92/-/g; s/\xe2\x80\x91/-/g' -e 's/[[:space:]]\{1,\}/ /g'; }
page=$(man -l "$build/packaging/orvokakei-cli.1" 2>&1 | col -b | plain)
status=0
"$cli" --help | grep '^  orvokakei-cli [a-z]' | while IFS= read -r line; do
  usage=$(printf '%s\n' "$line" | plain | sed 's/^ //')
  case $page in
    *"$usage"*) ;;
    *) echo "orvokakei-cli(1) lacks: $usage"; exit 1 ;;
  esac
  command=$(printf '%s\n' "$usage" | cut -d' ' -f2)
  own=$("$cli" "$command" --help | plain)
  [ "$own" = "usage: $usage" ] || { echo "'$command --help' printed '$own'"; exit 1; }
done || status=1
version=$(sed -n 's/^project(OrvoKakei VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
[ "$("$cli" --version)" = "orvokakei-cli $version" ] || { echo "--version: $("$cli" --version)"; status=1; }
if [ -x "$build/app/orvokakei" ]; then
  [ "$("$build/app/orvokakei" --version)" = "orvokakei $version" ] || { echo "orvokakei --version"; status=1; }
  "$build/app/orvokakei" --help | grep -q '^usage: orvokakei \[FILE.dat\]' || { echo "orvokakei --help"; status=1; }
fi
exit $status
