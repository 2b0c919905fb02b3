#!/bin/sh
# orvokakei-cli search and replace: the result lines, nothing found, and a
# replace that changes the listed records only.
. "$(dirname "$0")/TestSupport.sh"
ledger() { ledger_sjis "$@"; }

ledger "$dir/a.dat" '2001/01/01\t食費\t外食\t1200\t0\t昼食\033IC' '2001/01/02\t食費\t食料品\t300\t0\t' \
    '2001/01/03\t交通費\t\t200\t0\tic カード'

# Result lines in list order, ESC as \n; ASCII case ignored.
out=$("$cli" search "$dir/a.dat" iC)
expected=$(printf '2001/01/01\t     食費\t     外食\t     1200\t     0\t     昼食\\nIC\n2001/01/03\t     交通費\t     \t     200\t     0\t     ic カード')
[ "$out" = "$expected" ] || fail "search lines: $out"

"$cli" search "$dir/a.dat" 'なし' >"$dir/out" 2>"$dir/err"
[ $? = 1 ] || fail "nothing found exit"
[ "$(cat "$dir/err")" = "見つかりませんでした" ] || fail "nothing found text: $(cat "$dir/err")"
[ -s "$dir/out" ] && fail "nothing found printed lines"

# Replace: the found records change, the others stay; the totals follow.
"$cli" replace "$dir/a.dat" '1200' '1500' "$dir/b.dat" || fail "replace failed"
out=$(tail -n 3 "$dir/b.dat" | iconv -f CP932 -t UTF-8 | tr -d '\r')
expected=$(printf '2001/01/01\t食費\t外食\t1500\t0\t昼食\033IC\n2001/01/02\t食費\t食料品\t300\t0\t\n2001/01/03\t交通費\t\t200\t0\tic カード')
[ "$out" = "$expected" ] || fail "replaced records: $out"
"$cli" day "$dir/b.dat" 2001/01/01 | grep -q '^累計	¥2,000	¥0	-¥2,000$' || fail "totals after replace"

"$cli" replace "$dir/a.dat" x '' "$dir/c.dat" 2>"$dir/err"
[ "$(cat "$dir/err")" = "置換文字列が入力されていません" ] || fail "empty new text: $(cat "$dir/err")"
[ -e "$dir/c.dat" ] && fail "empty new text wrote a file"
"$cli" search "$dir/a.dat" 2>/dev/null
[ $? = 2 ] || fail "missing argument is no usage error"

[ "$failures" = 0 ] || exit 1
