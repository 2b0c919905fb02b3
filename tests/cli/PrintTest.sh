#!/bin/sh
# orvokakei-cli print and report: traced pages with fixed metrics, the page
# range and the ranked list as text.
cli=$1
failures=0
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# A ledger of the standard shape whose records are the arguments (printf formats).
ledger() {
    file=$1
    shift
    printf '640\r\n480\r\n6\r\n6\r\n20\r\n20\r\n20\r\n20\r\n20\r\n20\r\n20\r\n90\r\n90\r\n90\r\n90\r\n160\r\n\212\250\222\350\211\310\226\332\061\t\212\250\222\350\211\310\226\332\202\121\t\216\170\217\157\t\216\373\223\374\t\223\105\227\166\r\n' >"$file"
    for r in "$@"; do printf "$r\r\n" >>"$file"; done
}

trace() {
    "$cli" print "$@" --trace --metrics fixed --today 2026/12/08
}

# 60 one-line records: 52 on page 1, the rest on page 2.
records=""
i=0
while [ $i -lt 60 ]; do
    records="$records 2026/01/01\\tr$(printf %02d $i)\\t\\t1234567\\t0\\t"
    i=$((i + 1))
done
# shellcheck disable=SC2086
ledger "$dir/kakei.dat" $records
trace "$dir/kakei.dat" >"$dir/out" || fail "print exit $?"
[ "$(grep -c '^page' "$dir/out")" = 2 ] || fail "two pages expected: $(grep '^page' "$dir/out")"
for line in 'text 932 150 gothic 53 《kakei》' 'text 224 285 gothic 38 日付' 'line 80 330 2000 330' \
    'text 413 345 mincho 38 r00' 'text 955 345 mincho 38   ¥1,234,567' 'text 413 2640 mincho 38 r51' \
    'text 1570 2745 mincho 38 【作成日2026/12/08】' 'text 1021 2790 mincho 38 -1-' 'page 2'; do
    grep -qx "$line" "$dir/out" || fail "missing: $line"
done

# The range prints only its pages; a bad range prints nothing.
[ "$(trace "$dir/kakei.dat" --pages 2-2 | grep '^page')" = "page 2" ] || fail "range 2-2"
trace "$dir/kakei.dat" --pages 3-2 >"$dir/out" 2>"$dir/err"
[ $? = 1 ] && [ ! -s "$dir/out" ] && [ "$(cat "$dir/err")" = "ﾍﾟｰｼﾞ指定に誤りがあります." ] ||
    fail "range 3-2: $(cat "$dir/err")"

# Landscape, font size and widths.
trace "$dir/kakei.dat" --landscape | grep -qx 'line 80 330 2870 330' || fail "landscape rule"
trace "$dir/kakei.dat" --font-size 8 | grep -q '^text [0-9]* 150 gothic 39 ' || fail "font size 8"
# A narrow column: the amount whole on one line, right-aligned and smaller (10 places of 10).
trace "$dir/kakei.dat" --widths 100,100,100,100,100 >"$dir/out"
grep -qx 'text 689 362 mincho 21 ¥1,234,567' "$dir/out" && ! grep -q ' ¥567$' "$dir/out" ||
    fail "widths: $(grep '¥' "$dir/out" | head -2)"
trace "$dir/kakei.dat" --widths 100,2cm >/dev/null 2>"$dir/err"
[ "$(cat "$dir/err")" = "'2cm' は整数ではありません." ] || fail "bad width: $(cat "$dir/err")"
# Widths a page can be computed with, checked before anything is printed.
for widths in 2147483647,1,1,1,1 0,1,1,1,1 1,1,-5; do
    bad=${widths%%,*}
    [ "$widths" = 1,1,-5 ] && bad=-5
    trace "$dir/kakei.dat" --widths $widths >"$dir/out" 2>"$dir/err"
    [ $? = 1 ] && [ ! -s "$dir/out" ] && [ "$(cat "$dir/err")" = "'$bad' は 1 から 10000 までの整数ではありません." ] ||
        fail "widths $widths: $(cat "$dir/err")"
done
# A short "Prin.ini" beside the program: the columns it lacks get the default width, as in the window.
mkdir "$dir/bin" && cp "$cli" "$dir/bin/" && printf '100\r\n200\r\n' >"$dir/bin/Prin.ini"
[ "$("$dir/bin/$(basename "$cli")" print "$dir/kakei.dat" --trace --metrics fixed --today 2026/12/08)" = \
    "$(trace "$dir/kakei.dat" --widths 100,200,233,233,233)" ] || fail "short Prin.ini"
if [ ! -e "$(dirname "$cli")/Prin.ini" ]; then
    [ "$(trace "$dir/kakei.dat")" = "$(trace "$dir/kakei.dat" --widths 233,233,233,233,233)" ] ||
        fail "default widths are 1400 div 6"
fi

# Pages in the print fonts and as PDF: PdfTest.sh.
"$cli" print "$dir/kakei.dat" 2>/dev/null
[ $? = 2 ] || fail "print needs an output"

# The report: 食費 1000 in January and 3000 in March, 交通費 2000 in March;
# another year and an income change nothing.
printf '\220\110\224\357\r\n\214\360\222\312\224\357\r\n' >"$dir/titles.txt"
ledger "$dir/year.dat" '2026/01/10\t\220\110\224\357\t\t1000\t0\t' '2026/03/05\t\220\110\224\357\t\t3000\t0\t' \
    '2026/03/06\t\214\360\222\312\224\357\t\t2000\t0\t' '2025/03/06\t\220\110\224\357\t\t9000\t0\t' \
    '2026/04/01\t\214\360\222\312\224\357\t\t0\t5000\t'
out=$("$cli" report "$dir/year.dat" --year 2026 --titles "$dir/titles.txt")
expected=$(printf '食費\t¥4,000\t66.7%%\n交通費\t¥2,000\t33.3%%\n合計\t¥6,000')
[ "$out" = "$expected" ] || fail "report text: $out"
"$cli" report "$dir/year.dat" --year 2026 --titles "$dir/titles.txt" --trace --metrics fixed >"$dir/out"
grep -qx 'rect 1150 345 1850 380 0,128,0' "$dir/out" || fail "the largest bar"
grep -qx 'rect 1150 390 1500 425 0,128,0' "$dir/out" || fail "the half bar"
grep -qx 'text 150 690 mincho 38 1月' "$dir/out" || fail "month table"
"$cli" report "$dir/year.dat" --titles "$dir/titles.txt" 2>/dev/null
[ $? = 2 ] || fail "report without a year"
for year in abc 0 10000 -1 ''; do
    "$cli" report "$dir/year.dat" --year "$year" --titles "$dir/titles.txt" >"$dir/out" 2>"$dir/err"
    [ $? = 2 ] && [ ! -s "$dir/out" ] && grep -q '^usage: ' "$dir/err" || fail "year '$year'"
done
# Sixty titles: figures past a billion whole in the text, the page continued on further ones.
printf '' >"$dir/sixty.txt"
records=""
k=101
while [ $k -le 160 ]; do
    printf 'T%d\r\n' $k >>"$dir/sixty.txt"
    amount=$((k * 10000))
    [ $k = 160 ] && amount=2000000000
    records="$records 2026/05/01\\tT$k\\t\\t$amount\\t0\\t"
    k=$((k + 1))
done
# shellcheck disable=SC2086
ledger "$dir/sixty.dat" $records
"$cli" report "$dir/sixty.dat" --year 2026 --titles "$dir/sixty.txt" | head -1 >"$dir/out"
[ "$(cat "$dir/out")" = "$(printf 'T160\t¥2,000,000,000\t96.3%%')" ] || fail "sixty titles text: $(cat "$dir/out")"
"$cli" report "$dir/sixty.dat" --year 2026 --titles "$dir/sixty.txt" --trace --metrics fixed >"$dir/out"
[ "$(grep -c '^page' "$dir/out")" = 2 ] && grep -qx 'text 150 345 mincho 38 T108' "$dir/out" ||
    fail "sixty titles pages: $(grep -c '^page' "$dir/out")"
"$cli" report "$dir/year.dat" --year 2026 --titles "$dir/none.txt" 2>"$dir/err"
[ $? = 1 ] || fail "missing title file: $(cat "$dir/err")"

[ "$failures" = 0 ] || exit 1
