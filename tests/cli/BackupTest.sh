#!/bin/sh
# The writing commands keep the day's copy in NAME.dat.backups as the window's
# save does; a copy that cannot be made is reported and the ledger is still written.
. "$(dirname "$0")/TestSupport.sh"

ledger "$dir/book.dat" '2026/01/05\tA\t\t5\t0\t'
cp "$dir/book.dat" "$dir/before.dat"
printf '2026/01/06,A,,7,0,\r\n' >"$dir/new.csv"

# Checked against the day before and after: a run across midnight names either.
copy_of_today() {
    for day in "$(date +%F)" "$(date -d yesterday +%F)"; do
        [ -e "$dir/book.dat.backups/book.$day.dat" ] && echo "$dir/book.dat.backups/book.$day.dat"
    done
}

"$cli" csv-import "$dir/new.csv" "$dir/book.dat" || fail "csv-import failed"
copy=$(copy_of_today)
[ -n "$copy" ] || fail "csv-import kept no copy: $(ls "$dir/book.dat.backups" 2>&1)"
cmp -s "$copy" "$dir/before.dat" || fail "the copy is not the ledger before the day's first save"
"$cli" replace "$dir/book.dat" A Z "$dir/book.dat" || fail "replace failed"
"$cli" resave "$dir/book.dat" "$dir/book.dat" 2026/01/05 || fail "resave failed"
cmp -s "$copy" "$dir/before.dat" || fail "a later save of the day changed the copy"
[ "$(ls "$dir/book.dat.backups" | wc -l)" = 1 ] || fail "more than one copy: $(ls "$dir/book.dat.backups")"

# A file where the folder would be: the save goes on, the copy is reported, exit 0.
ledger "$dir/other.dat" '2026/01/05\tA\t\t5\t0\t'
: >"$dir/out.dat.backups"
ledger "$dir/out.dat" '2025/12/31\tB\t\t9\t0\t'
"$cli" resave "$dir/other.dat" "$dir/out.dat" 2026/01/06 2>"$dir/err"
status=$?
[ "$status" = 0 ] || fail "a copy that could not be made failed the save: exit $status"
grep -q "^ファイル $dir/out.dat.backups/out\.[0-9-]*\.dat を作成できません\.$" "$dir/err" ||
    fail "no message for the copy: $(cat "$dir/err")"
cmp -s "$dir/out.dat" "$dir/other.dat" || fail "the ledger was not saved"

[ "$failures" = 0 ] || exit 1
