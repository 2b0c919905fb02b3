#!/bin/sh
# orvokakei-cli csv-export and csv-import: the bytes written, the round trip,
# and faults that write nothing.
. "$(dirname "$0")/TestSupport.sh"
ledger() { ledger_sjis "$@"; }

# Export: TAB becomes a comma; a field with a comma, a quote, a blank or a
# control byte is quoted (its quotes doubled), the packed line break kept.
ledger "$dir/a.dat" '2001/01/02\t食費\t外食\t1200\t0\t昼食, "和"' '2001/01/01\t給与\t\t0\t5\t一\033二'
"$cli" csv-export "$dir/a.dat" "$dir/a.csv" || fail "csv-export failed"
expected=$(sjis '2001/01/01,給与,,0,5,"一\033二"\r\n2001/01/02,食費,外食,1200,0,"昼食, ""和"""\r\n' | od -c)
[ "$(od -c <"$dir/a.csv")" = "$expected" ] || fail "exported bytes: $(od -c <"$dir/a.csv")"

# A fault while loading: printed, nothing exported.
ledger "$dir/bad.dat" '2001/01/02\t食費\t\tx1\t0\t'
"$cli" csv-export "$dir/bad.dat" "$dir/bad.csv" 2>"$dir/err"
[ $? = 1 ] || fail "load fault exit"
[ "$(cat "$dir/err")" = "'x1' は整数ではありません." ] || fail "load fault text: $(cat "$dir/err")"
[ -e "$dir/bad.csv" ] && fail "load fault exported"

# Import and the day view of the new ledger; "x" in an amount counts nothing.
sjis '2001/01/05,食費,外食,1200,,昼食\r\n2001/01/05,雑費,,x,,\r\n' >"$dir/b.csv"
"$cli" csv-import "$dir/b.csv" "$dir/b.dat" || fail "csv-import failed"
out=$("$cli" day "$dir/b.dat" 2001/01/05 2>&1)
expected=$(printf "雑費\t\tx\t\t\n食費\t外食\t1200\t\t昼食\n日計\t¥1,200\t¥0\t-¥1,200\n累計\t¥1,200\t¥0\t-¥1,200\n'x' は整数ではありません.")
[ "$out" = "$expected" ] || fail "imported day: $out"

# Titles: the first line names the columns; a short one stops and writes nothing.
sjis '日付,科目,細目,出,入,摘要\r\n2001/01/05,a,,1,0,\r\n' >"$dir/t.csv"
"$cli" csv-import "$dir/t.csv" "$dir/t.dat" --titles || fail "csv-import --titles failed"
sed -n 17p "$dir/t.dat" | iconv -f CP932 -t UTF-8 | grep -q '^日付	科目	細目	出	入' ||
    fail "titles line: $(sed -n 17p "$dir/t.dat" | iconv -f CP932 -t UTF-8)"
sjis 'a,b,c\r\n2001/01/05,a,,1,0,\r\n' >"$dir/s.csv"
"$cli" csv-import "$dir/s.csv" "$dir/s.dat" --titles 2>"$dir/err"
[ $? = 1 ] || fail "short title line exit"
[ "$(cat "$dir/err")" = "リストのインデックスが範囲を超えています (3)." ] || fail "short title text: $(cat "$dir/err")"
[ -e "$dir/s.dat" ] && fail "short title line wrote a file"

# A bad line and a missing file: their messages, exit 1, nothing written.
sjis '2001/01/05,a,,1,0,\r\n\r\n2001/01/06,a,,1,0,\r\n' >"$dir/e.csv"
"$cli" csv-import "$dir/e.csv" "$dir/e.dat" 2>"$dir/err"
[ $? = 1 ] || fail "empty line exit"
[ "$(cat "$dir/err")" = "リストのインデックスが範囲を超えています (-1)." ] || fail "empty line text: $(cat "$dir/err")"
[ -e "$dir/e.dat" ] && fail "a bad line wrote a file"
"$cli" csv-import "$dir/none.csv" "$dir/n.dat" 2>"$dir/err"
[ "$(cat "$dir/err")" = "ファイル $dir/none.csv が見つかりません." ] || fail "missing file: $(cat "$dir/err")"

# UTF-8 with the byte-order mark; records without a level-1 title are reported.
printf '\357\273\2772001/01/05,,外食,1,0,\r\n' >"$dir/u.csv"
"$cli" csv-import "$dir/u.csv" "$dir/u.dat" 2>"$dir/err" || fail "UTF-8 import failed"
tail -n 1 "$dir/u.dat" | iconv -f CP932 -t UTF-8 | grep -q '^2001/01/05		外食	1	0	' || fail "UTF-8 record"
grep -q '1 件.*2001/01/05' "$dir/err" || fail "empty title notice: $(cat "$dir/err")"

"$cli" csv-import "$dir/b.csv" 2>/dev/null
[ $? = 2 ] || fail "missing argument is no usage error"

[ "$failures" = 0 ] || exit 1
