#!/bin/sh
# orvokakei-cli calc: the shown result and exit 0, nothing and exit 1 for a
# text without value, the fault text and "." on stderr with exit 3.
cli=$1
failures=0
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

# expect STATUS STDOUT STDERR ARGS...
expect() {
    status=$1 stdout=$2 stderr=$3
    shift 3
    "$cli" calc "$@" >"$out" 2>"$err"
    got=$?
    if [ "$got" != "$status" ] || [ "$(cat "$out")" != "$stdout" ] || [ "$(cat "$err")" != "$stderr" ]; then
        echo "FAIL: calc $*: exit $got, stdout '$(cat "$out")', stderr '$(cat "$err")'"
        failures=$((failures + 1))
    fi
}

expect 0 20 "" "2+3*4"
expect 0 20 "" --mode input-order "2+3*4"
expect 0 14 "" --mode normal "2+3*4"
expect 0 14.7 "" "(2+3*4)*1.05"
expect 0 0.333333333333333 "" "1/3"
expect 0 1E15 "" "1000000*1000000000"
expect 0 15 "" "1 2+3"
expect 0 -6 "" "2*-3"
expect 1 "" "" "2+"
expect 1 "" "" "1E15+1"
expect 1 "" "" ""
expect 3 "" "0 による浮動小数点数除算." "5/0"
expect 3 "" "不正な浮動小数点数演算命令." --mode normal "0/0"
expect 2 "" "unknown mode 'fast' (input-order or normal)." --mode fast "1"

[ "$failures" -eq 0 ]
