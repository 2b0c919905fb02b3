#!/bin/sh
# orvokakei-cli resave and the ledger's lock: refused while another live
# process holds the lock of the file it writes, which is left byte for byte;
# a lock whose owner is gone is taken over, and let go of at the end.
. "$(dirname "$0")/TestSupport.sh"

ledger "$dir/book.dat" '2026/01/05\tA\t\t5\t0\t'
ledger "$dir/other.dat" '2026/01/06\tB\t\t7\t0\t'
cp "$dir/book.dat" "$dir/before.dat"
lock=$dir/book.dat.lock

# Another process holds the lock: the lock file names it, and it keeps an flock.
sh -c 'exec 9>"$1"; flock 9; printf "%s\nsleep\n%s\n" $$ "$(uname -n)" >&9; exec sleep 60' sh "$lock" &
holder=$!
tries=0
while [ ! -s "$lock" ] && [ $tries -lt 100 ]; do sleep 0.05; tries=$((tries + 1)); done

# In place, or from another ledger: the held file is what would be written.
for in in book.dat other.dat; do
    "$cli" resave "$dir/$in" "$dir/book.dat" 2026/01/05 >/dev/null 2>"$dir/err"
    status=$?
    [ "$status" = 1 ] || fail "resave $in into a held ledger: exit $status"
    [ "$(cat "$dir/err")" = "ファイル $dir/book.dat は sleep (ホスト $(uname -n)、プロセス $holder) が使用中です." ] ||
        fail "held lock message: $(cat "$dir/err")"
    cmp -s "$dir/before.dat" "$dir/book.dat" || fail "resave $in wrote a held ledger"
    [ -e "$dir/book.dat.bak" ] && fail "resave $in made a backup of a held ledger"
done
# Reading a held ledger is not writing it.
"$cli" resave "$dir/book.dat" "$dir/copy.dat" 2026/01/05 || fail "a held ledger could not be read"

# The holder ends; its lock file stays behind and is taken over.
kill "$holder"
wait "$holder" 2>/dev/null
[ -e "$lock" ] || fail "the holder's lock file went with it"
"$cli" resave "$dir/book.dat" "$dir/book.dat" 2026/01/05 || fail "a stale lock was not taken over"
[ -e "$lock" ] && fail "resave left its lock behind"

[ "$failures" = 0 ] || exit 1
