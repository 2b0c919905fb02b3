#!/bin/sh
# orvokakei-cli import-statement: the rows as the window would import them,
# the ledger saved only without --dry-run, and the refusals that write nothing.
. "$(dirname "$0")/TestSupport.sh"
fixtures=$top/tests/fixtures/statement
cd "$dir" || exit 1
tab=$(printf '\t')

ledger_sjis "$dir/book.dat" '2025/01/06\t食費\t外食\t150\t0\tｺｰﾋｰｼｮｯﾌﾟ' '2024/11/02\t交通費\t燃料\t4000\t0\tガソリンスタンド'
cp "$dir/book.dat" "$dir/before.dat"

# A dry run: the exact lines, nothing written.
"$cli" import-statement "$dir/book.dat" "$fixtures/card-cp932.csv" --dry-run >"$dir/out" 2>"$dir/err"
[ $? = 0 ] || fail "dry run: exit $? $(cat "$dir/err")"
cat >"$dir/expected" <<END
new${tab}2024/12/20${tab}未分類${tab}${tab}2980${tab}0${tab}ｽｰﾊﾟｰﾃｽﾄ 01
new${tab}2025/01/05${tab}交通費${tab}燃料${tab}4500${tab}0${tab}ガソリンスタンド
duplicate${tab}2025/01/06${tab}食費${tab}外食${tab}150${tab}0${tab}ｺｰﾋｰｼｮｯﾌﾟ
new${tab}2025/01/06${tab}食費${tab}外食${tab}150${tab}0${tab}ｺｰﾋｰｼｮｯﾌﾟ
new${tab}2025/01/07${tab}未分類${tab}${tab}0${tab}3000${tab}返品　テスト衣料
summary${tab}new=4${tab}duplicate=1${tab}error=0
END
cmp -s "$dir/expected" "$dir/out" || fail "dry run output: $(diff "$dir/expected" "$dir/out")"
cmp -s "$dir/before.dat" "$dir/book.dat" || fail "dry run wrote the ledger"

# Rules beside the title files (the current folder), or given.
sjis 'ｽｰﾊﾟｰ\t食費\t食料品\r\n' >"$dir/取り込み規則.txt"
"$cli" import-statement "$dir/book.dat" "$fixtures/card-cp932.csv" --dry-run | head -1 | grep -q "${tab}食費${tab}食料品${tab}" ||
    fail "the rules file beside the titles was not used"
sjis 'ｽｰﾊﾟｰ\t日用品\t\r\n' >"$dir/other-rules.txt"
"$cli" import-statement "$dir/book.dat" "$fixtures/card-cp932.csv" --dry-run --rules "$dir/other-rules.txt" |
    head -1 | grep -q "${tab}日用品${tab}${tab}" || fail "--rules was not used"

# The import: new rows added and saved with a backup; a second run adds nothing.
"$cli" import-statement "$dir/book.dat" "$fixtures/card-cp932.csv" >/dev/null || fail "import failed"
[ -e "$dir/book.dat.bak" ] || fail "the import kept no backup"
grep -c . "$dir/book.dat" | grep -qx 23 || fail "records after the import: $(grep -c . "$dir/book.dat")"
"$cli" import-statement "$dir/book.dat" "$fixtures/card-cp932.csv" | tail -1 |
    grep -qx "summary${tab}new=0${tab}duplicate=5${tab}error=0" || fail "a second import added rows"

# Error rows carry the line and the reason; exit 0.
"$cli" import-statement "$dir/book.dat" "$fixtures/broken-values-cp932.csv" --dry-run >"$dir/out" ||
    fail "error rows: exit $?"
head -1 "$dir/out" | grep -qx "error${tab}2${tab}'2025/2/30' は日付ではありません" || fail "error row: $(head -1 "$dir/out")"
"$cli" import-statement "$dir/book.dat" "$fixtures/bank-shukkin-utf8.csv" --dry-run | grep -c "^error${tab}[45]${tab}残高が一致しません$" |
    grep -qx 2 || fail "balance rows are not error rows"

# A layout given by name or by file.
"$cli" import-statement "$dir/book.dat" "$fixtures/broken-no-layout.csv" --dry-run --layout "$fixtures/broken-no-layout.csv" >/dev/null 2>&1 &&
    fail "a file that is no layout was taken"
printf '名前\tEnglish\r\n日付\tDate\r\n金額\tAmount\r\n摘要\tMemo\r\n' >"$dir/english.txt"
"$cli" import-statement "$dir/book.dat" "$fixtures/broken-no-layout.csv" --dry-run --layout "$dir/english.txt" >"$dir/out" ||
    fail "--layout FILE"
head -1 "$dir/out" | grep -qx "new${tab}2025/01/05${tab}未分類${tab}${tab}0${tab}100${tab}coffee" || fail "--layout FILE: $(head -1 "$dir/out")"
"$cli" import-statement "$dir/book.dat" "$fixtures/card-cp932.csv" --dry-run --layout 'クレジットカード（利用日・利用金額）' >/dev/null ||
    fail "--layout NAME"

# Refusals: exit 1, a message, nothing written.
cp "$dir/book.dat" "$dir/before.dat"
for args in "$fixtures/none.csv" "$fixtures/broken-no-layout.csv" "$fixtures/card-cp932.csv --layout nothing"; do
    # shellcheck disable=SC2086
    "$cli" import-statement "$dir/book.dat" $args >/dev/null 2>"$dir/err"
    status=$?
    [ "$status" = 1 ] || fail "$args: exit $status"
    [ -s "$dir/err" ] || fail "$args: no message"
    cmp -s "$dir/before.dat" "$dir/book.dat" || fail "$args: the ledger was written"
done
grep -qx "明細の形式 nothing が見つかりません." "$dir/err" || fail "unknown layout: $(cat "$dir/err")"
sh -c 'exec 9>"$1"; flock 9; printf "%s\nsleep\n%s\n" $$ "$(uname -n)" >&9; exec sleep 60' sh "$dir/book.dat.lock" &
holder=$!
tries=0
while [ ! -s "$dir/book.dat.lock" ] && [ $tries -lt 100 ]; do sleep 0.05; tries=$((tries + 1)); done
"$cli" import-statement "$dir/book.dat" "$fixtures/bank-signed-utf16le.tsv" >/dev/null 2>&1
[ $? = 1 ] || fail "a held ledger was not refused"
cmp -s "$dir/before.dat" "$dir/book.dat" || fail "a held ledger was written"
kill "$holder"
wait "$holder" 2>/dev/null
"$cli" import-statement "$dir/book.dat" >/dev/null 2>&1
[ $? = 2 ] || fail "missing argument: not a usage error"

[ "$failures" = 0 ] || exit 1
