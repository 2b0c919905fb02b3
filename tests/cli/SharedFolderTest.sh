#!/bin/sh
# orvokakei-cli in a folder others can write to: no write through another
# user's link or onto a device or FIFO, no hang on a FIFO or endless device,
# no update lost between two writers of one ledger, nothing written that a
# load cannot read back, and a refused file prints nothing but the refusal.
. "$(dirname "$0")/TestSupport.sh"

ledger "$dir/s.dat" '2026/01/05\tA\t\t5\t0\tlunch' '2026/01/06\tB\t\t7\t0\t'
cp "$dir/s.dat" "$dir/before.dat"

# Every command here ends within seconds or has hung.
run() { timeout 20 "$cli" "$@"; }

# Writing onto a FIFO (or, as root, a device node) refuses it and leaves it.
mkfifo "$dir/fifo"
run csv-export "$dir/s.dat" "$dir/fifo" 2>"$dir/err"
[ $? = 1 ] || fail "csv-export onto a FIFO: exit $?"
[ "$(cat "$dir/err")" = "ファイル $dir/fifo は通常のファイルではありません." ] || fail "FIFO target: $(cat "$dir/err")"
[ -p "$dir/fifo" ] || fail "the FIFO was replaced"
if [ "$(id -u)" = 0 ]; then
    mknod "$dir/full" c 1 7
    run csv-export "$dir/s.dat" "$dir/full" 2>/dev/null && fail "csv-export onto a device succeeded"
    [ -c "$dir/full" ] || fail "the device node was replaced"
fi

# Reading a FIFO or an endless device: refused at once.
for source in "$dir/fifo" /dev/zero; do
    run csv-import "$source" "$dir/n.dat" 2>"$dir/err"
    [ "$(cat "$dir/err")" = "ファイル $source は通常のファイルではありません." ] || fail "csv-import $source: $(cat "$dir/err")"
    run report "$dir/s.dat" --year 2026 --titles "$source" --trace >/dev/null 2>&1 && fail "report --titles $source"
done
[ -e "$dir/n.dat" ] && fail "a refused import wrote a file"
# The ledger itself may come through a pipe.
cat "$dir/s.dat" | run day /dev/stdin 2026/01/05 | grep -q lunch || fail "a piped ledger was not read"

# A lock file that is a FIFO is reported as what it is, at once.
mkfifo "$dir/s.dat.lock"
run replace "$dir/s.dat" lunch dinner "$dir/s.dat" 2>"$dir/err"
[ $? = 1 ] || fail "replace with a FIFO lock: exit $?"
case "$(cat "$dir/err")" in
"ロックファイル $dir/s.dat.lock を使えません (通常のファイルではありません)。"*) ;;
*) fail "FIFO lock: $(cat "$dir/err")" ;;
esac
rm "$dir/s.dat.lock"
cmp -s "$dir/s.dat" "$dir/before.dat" || fail "a refused replace changed the ledger"

# A TAB in the new text is stored as a blank: the file reads back.
run replace "$dir/s.dat" lunch "$(printf 'a\tb')" "$dir/tab.dat" 2>/dev/null
run day "$dir/tab.dat" 2026/01/05 >"$dir/out" 2>"$dir/err" || fail "replace with a TAB: $(cat "$dir/err")"
grep -q "$(printf '\t5\t0\ta b$')" "$dir/out" || fail "TAB not stored as a blank: $(cat "$dir/out")"

# A refused ledger prints nothing to stdout.
run day "$dir/missing.dat" 2026/01/05 >"$dir/out" 2>"$dir/err"
[ -s "$dir/out" ] && fail "day on a missing file printed: $(cat "$dir/out")"
[ "$(cat "$dir/err")" = "ファイル $dir/missing.dat が見つかりません." ] || fail "missing ledger: $(cat "$dir/err")"

# Two writers replacing in one ledger, each in a loop: every change that
# reports success is in the ledger (a run refused for the other's lock tries again).
n=20
records=""
i=0
while [ $i -lt $n ]; do
    k=$(printf %02d $i)
    records="$records 2026/02/01\\tta$k\\t\\t1\\t0\\t 2026/02/01\\ttb$k\\t\\t1\\t0\\t"
    i=$((i + 1))
done
# shellcheck disable=SC2086
ledger "$dir/L.dat" $records
# Filler records make the time between a run's read and its save long enough to meet.
awk 'BEGIN { for (i = 0; i < 50000; i++) printf "2026/03/%02d\tfill\t\t1\t0\t%d\r\n", i % 28 + 1, i }' >>"$dir/L.dat"
writer() {
    i=0
    while [ $i -lt $n ]; do
        k=$(printf %02d $i)
        until "$cli" replace "$dir/L.dat" "t$1$k" "x$1$k" "$dir/L.dat" 2>"$dir/err-$1"; do
            grep -q "使用中です" "$dir/err-$1" || { echo "writer $1: $(cat "$dir/err-$1")"; return 1; }
        done
        i=$((i + 1))
    done
}
writer a >"$dir/log-a" &
a=$!
writer b >"$dir/log-b"
wait $a
lost=$(grep -c 't[ab][0-9]' "$dir/L.dat")
[ "$lost" = 0 ] || fail "$lost of $((2 * n)) changes lost: $(cat "$dir/log-a" "$dir/log-b")"

# Another user's link in a sticky shared folder is not written through.
if [ "$(id -u)" = 0 ]; then
    mkdir -m 1777 "$dir/shared"
    printf 'secret' >"$dir/secret.txt"
    for target in secret.txt made.pdf; do
        ln -s "$dir/$target" "$dir/shared/$target"
        chown -h 54321:54321 "$dir/shared/$target"
    done
    run csv-export "$dir/s.dat" "$dir/shared/secret.txt" 2>"$dir/err" && fail "csv-export wrote through a planted link"
    [ "$(cat "$dir/err")" = "ファイル $dir/shared/secret.txt はほかのユーザーのシンボリックリンクのため、書き込めません." ] ||
        fail "planted link: $(cat "$dir/err")"
    printf '2026/01/05,A,,5,0,\r\n' >"$dir/good.csv"
    run csv-import "$dir/good.csv" "$dir/shared/secret.txt" 2>/dev/null && fail "csv-import wrote through a planted link"
    [ "$(cat "$dir/secret.txt")" = secret ] || fail "the link's file was changed"
    [ -e "$dir/secret.txt.bak" ] && fail "the link's file got a backup"
    run print "$dir/s.dat" --pdf "$dir/shared/made.pdf" 2>/dev/null && fail "print --pdf wrote through a planted link"
    [ -e "$dir/made.pdf" ] && fail "a dangling planted link made a file"
else
    echo "SKIP: planting another user's link needs root"
fi

[ "$failures" = 0 ] || exit 1
