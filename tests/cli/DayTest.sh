#!/bin/sh
# orvokakei-cli day and resave: the day view as printed, faults after the
# rows, and a load-and-save round trip.
. "$(dirname "$0")/TestSupport.sh"

# The bundled sample, as the README shows it.
out=$("$cli" day "$top/sample/sample.dat" 2026/12/08)
expected=$(printf '交通費\t駐車場代\t2230\t0\tICカードにチャージ\n通信費\t携帯電話\t8030\t0\t月額料金\n日計\t¥10,260\t¥0\t-¥10,260\n累計\t¥1,390,550\t¥869,410\t-¥521,140')
[ "$out" = "$expected" ] || fail "sample day: $out"

# A lone lead byte before a line break keeps the break; a NUL byte keeps the
# rest of the row; a record of empty fields is still a row.
ledger "$dir/a.dat" '2026/01/05\tx\201\033y\t\t1\t0\tz' '2026/01/05\t\t\t\t\t' '2026/01/05\ta\000b\tc\t2\t0\td'
out=$("$cli" day "$dir/a.dat" 2026/01/05 | od -c | tr -s ' ' | head -c 2000)
rows=$("$cli" day "$dir/a.dat" 2026/01/05 | wc -l)
[ "$rows" = 5 ] || fail "three rows and two totals expected, got $rows lines"
"$cli" day "$dir/a.dat" 2026/01/05 | grep -q 'x.*\\ny' || fail "line break after a lone lead byte: $out"
"$cli" day "$dir/a.dat" 2026/01/05 | grep -q 'c	2	0	d' || fail "NUL byte cut the row: $out"

# A fault: the day is printed first, then the fault, exit 1.
ledger "$dir/b.dat" '2026/01/05\tA\t\tx1\t0\t' '2026/01/05\tB\t\t5\t0\t'
"$cli" day "$dir/b.dat" 2026/01/05 >"$dir/out" 2>"$dir/err"
status=$?
[ "$status" = 1 ] || fail "fault exit $status"
grep -q '^B' "$dir/out" || fail "rows before the fault: $(cat "$dir/out")"
[ "$(cat "$dir/err")" = "'x1' は整数ではありません." ] || fail "fault text: $(cat "$dir/err")"

# A file that is no ledger: its message, exit 1, for day and resave alike.
printf 'Dear Sir,\r\n' >"$dir/letter.txt"
for cmd in "day $dir/letter.txt 2026/01/05" "resave $dir/letter.txt $dir/out.dat"; do
    "$cli" $cmd >/dev/null 2>"$dir/err"
    status=$?
    [ "$status" = 1 ] || fail "$cmd: exit $status"
    [ "$(cat "$dir/err")" = "ファイル $dir/letter.txt は家計簿のデータではありません." ] ||
        fail "$cmd: $(cat "$dir/err")"
done
[ -e "$dir/out.dat" ] && fail "resave of a letter wrote a ledger"

# No line break in 17 MB (and a pipe of endless digits): refused, exit 1, without reading on.
{ printf 6; head -c 17000000 /dev/zero | tr '\0' 0; } >"$dir/long.dat"
for f in "$dir/long.dat" /dev/stdin; do
    yes 6 | tr -d '\n' | "$cli" day "$f" 2026/01/05 >/dev/null 2>"$dir/err"
    status=$?
    [ "$status" = 1 ] || fail "$f: exit $status"
    [ "$(cat "$dir/err")" = "ファイル $f には長すぎる行 (16 MB 超) があり、読み込めません." ] ||
        fail "$f: $(cat "$dir/err")"
done

# Load and save give the same bytes; usage errors exit 2.
"$cli" resave "$top/sample/sample.dat" "$dir/again.dat" 2026/12/08 || fail "resave failed"
cmp -s "$top/sample/sample.dat" "$dir/again.dat" || fail "resave changed the sample"
"$cli" day "$dir/a.dat" 2>/dev/null
[ $? = 2 ] || fail "missing argument is no usage error"

[ "$failures" = 0 ] || exit 1
