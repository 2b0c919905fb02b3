#!/bin/sh
# orvokakei-cli summary, budget, and report's titles the list lacks: the TSV
# contracts, with the title files of the working folder.
. "$(dirname "$0")/TestSupport.sh"

cd "$dir" || exit 1
sjis '食費\r\n交通費\r\n' >"勘定科目1.txt"
sjis '外食,0\r\n米,0\r\n電車,1\r\n' >"勘定科目2.txt"
ledger_sjis "$dir/kakei.dat" '2026/01/05\t食費\t米\t1000\t0\t' '2026/01/09\t食費\t外食\t200\t0\t' \
    '2026/01/25\t給与\t\t0\t300000\t' '2026/03/01\t雑費\t\t500\t0\t' '2026/03/02\t交通費\t電車\t0\t0\t' \
    '2026/02/30\t食費\t\t9\t0\t' '2025/01/05\t食費\t米\t7\t0\t'

head='区分\t科目\t1月\t2月\t3月\t4月\t5月\t6月\t7月\t8月\t9月\t10月\t11月\t12月\t合計'
zeros9='\t0\t0\t0\t0\t0\t0\t0\t0\t0'
out=$("$cli" summary "$dir/kakei.dat" --year 2026)
expected=$(printf "$head\n支出\t食費\t1200\t0\t0${zeros9}\t1200\n支出\t雑費\t0\t0\t500${zeros9}\t500\n"`
    `"支出\t合計\t1200\t0\t500${zeros9}\t1700\n収入\t給与\t300000\t0\t0${zeros9}\t300000\n"`
    `"収入\t合計\t300000\t0\t0${zeros9}\t300000\n収支\t\t298800\t0\t-500${zeros9}\t298300")
[ "$out" = "$expected" ] || fail "summary: $out"
"$cli" summary "$dir/kakei.dat" --year 2026 --level 2 | cut -f 1,2,3 >"$dir/out"
expected=$(printf '区分\t科目\t1月\n支出\t食費/外食\t200\n支出\t食費/米\t1000\n支出\t雑費/\t0\n支出\t合計\t1200\n'`
    `'収入\t給与/\t300000\n収入\t合計\t300000\n収支\t\t298800')
[ "$(cat "$dir/out")" = "$expected" ] || fail "summary --level 2: $(cat "$dir/out")"

# Budgets: listed titles first, the others after; over budget goes negative.
sjis '雑費\t400\r\n交通費\t5000\r\n食費\t1000\r\n' >"予算.txt"
out=$("$cli" budget "$dir/kakei.dat" --year 2026 --month 1)
[ "$out" = "$(printf '食費\t1000\t1200\t-200\n交通費\t5000\t0\t5000\n雑費\t400\t0\t400\n合計\t6400\t1200\t5200')" ] ||
    fail "budget: $out"
sjis '雑費\t400\r\n交通費\tx\r\n' >"$dir/other.txt"
out=$("$cli" budget "$dir/kakei.dat" --year 2026 --month 3 --budgets "$dir/other.txt" 2>"$dir/err")
[ $? = 1 ] && [ "$out" = "$(printf '雑費\t400\t500\t-100\n合計\t400\t500\t-100')" ] &&
    [ "$(cat "$dir/err")" = "予算.txt の 2 行目は読めません." ] || fail "bad budget line: $out $(cat "$dir/err")"
[ "$("$cli" budget "$dir/kakei.dat" --year 2026 --month 1 --budgets "$dir/none.txt")" = "$(printf '合計\t0\t0\t0')" ] ||
    fail "no budget file"

# Usage errors and a ledger that cannot be read.
for args in "--year 26x" "--year 2026 --level 3" "" "--year"; do
    # shellcheck disable=SC2086
    "$cli" summary "$dir/kakei.dat" $args >/dev/null 2>&1
    [ $? = 2 ] || fail "summary $args is a usage error"
done
for args in "--year 2026 --month 13" "--year 2026" "--month 1"; do
    # shellcheck disable=SC2086
    "$cli" budget "$dir/kakei.dat" $args >/dev/null 2>&1
    [ $? = 2 ] || fail "budget $args is a usage error"
done
"$cli" summary "$dir/missing.dat" --year 2026 >/dev/null 2>"$dir/err"
[ $? = 1 ] && [ -s "$dir/err" ] || fail "summary on a missing ledger"
"$cli" budget "$dir/missing.dat" --year 2026 --month 1 >/dev/null 2>"$dir/err"
[ $? = 1 ] && [ -s "$dir/err" ] || fail "budget on a missing ledger: $(cat "$dir/err")"

# The report lists the titles the list lacks after the listed ones: its total
# is the year's expense.
out=$("$cli" report "$dir/kakei.dat" --year 2026)
[ "$out" = "$(printf '食費\t¥1,200\t70.6%%\n雑費\t¥500\t29.4%%\n交通費\t¥0\t0.0%%\n合計\t¥1,700')" ] ||
    fail "report with an unlisted title: $out"

[ "$failures" = 0 ] || exit 1
