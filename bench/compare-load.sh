#!/bin/sh
# The load and resave goals, each against a plain tool on the same file, in
# every order the records may stand in (as the program saves them, shuffled
# inside each day, reversed, at random): the load against wc -l, resave
# (load, save with sync and backup) against cp + sync; the peak memory of a
# load against the file's size; how the load time grows from 10k to 4M
# records. Each command runs RUNS times (default 7), the tools and ours in
# turn, so that a busy machine weighs on both alike; the least wall and CPU
# (user + sys) time of the runs are shown.
# Usage: bench/compare-load.sh BUILD_DIR [RUNS]
build=${1:-build}
runs=${2:-7}
dir=${TMPDIR:-/tmp}/orvo-compare-load
mkdir -p "$dir" || exit 1

# ledger ORDER RECORDS: the file, generated on first use.
ledger() {
    f=$dir/$1-$2.dat
    [ -f "$f" ] || case $1 in
        saved) "$build/bench/generate-ledger" "$f" "$2" ;;
        shuffled) "$build/bench/generate-ledger" --shuffled-days "$f" "$2" ;;
        *) "$build/bench/generate-ledger" "--$1" "$f" "$2" ;;
    esac
    echo "$f"
}

# Wall and CPU milliseconds of one run of the command, "wall cpu": by perf
# where it may count, else by time(1) (to 10 ms).
timed() {
    if perf stat -x, -e task-clock,duration_time -o "$dir/perf.out" "$@" >/dev/null 2>&1; then
        awk -F, '/task-clock/ { c = $1 } /duration_time/ { w = $1 / 1e6 }
                 END { printf "%.2f %.2f\n", w, c }' "$dir/perf.out"
    else
        /usr/bin/time -f '%e %U %S' -o "$dir/time.out" "$@" >/dev/null 2>&1
        awk '{ printf "%.2f %.2f\n", $1 * 1000, ($2 + $3) * 1000 }' "$dir/time.out"
    fi
}

# The load as load-peak-memory measures it inside the process, "wall cpu".
loadtime() {
    "$build/bench/load-peak-memory" "$1" |
        sed 's/.*load \([0-9.]*\) s (cpu \([0-9.]*\) s).*/\1 \2/' |
        awk '{ printf "%.2f %.2f\n", $1 * 1000, $2 * 1000 }'
}

# min of a column over lines of "wall cpu"
least() { sort -g -k"$1" | head -1 | cut -d' ' -f"$1"; }

resave="$build/cli/orvokakei-cli resave"

printf '%-9s %10s %10s %10s %8s   %10s %10s %8s   %s\n' order "wc -l" load "" ratio \
    "cp+sync" resave ratio "peak memory"
for order in saved shuffled reversed random; do
    f=$(ledger $order 1000000)
    : >"$dir/wc" ; : >"$dir/load" ; : >"$dir/cp" ; : >"$dir/resave"
    i=0
    while [ $i -lt "$runs" ]; do
        timed wc -l "$f" >>"$dir/wc"
        loadtime "$f" >>"$dir/load"
        timed sh -c 'cp "$1" "$2" && sync "$2"' - "$f" "$dir/copy.dat" >>"$dir/cp"
        timed $resave "$f" "$dir/copy.dat" 2026/12/08 >>"$dir/resave"
        i=$((i + 1))
    done
    peak=$("$build/bench/load-peak-memory" "$f" | sed 's/.*peak RSS [0-9.]* MB (\([0-9.]*\) x file.*/\1/')
    for col in 1 2; do
        what=$([ $col = 1 ] && echo wall || echo cpu)
        wc=$(least $col <"$dir/wc"); load=$(least $col <"$dir/load")
        cp=$(least $col <"$dir/cp"); rs=$(least $col <"$dir/resave")
        awk -v o="$order" -v w="$what" -v a="$wc" -v b="$load" -v c="$cp" -v d="$rs" -v p="$peak" 'BEGIN {
            printf "%-9s %7.1f ms %7.1f ms %-4s %6.1fx   %7.1f ms %7.1f ms %6.2fx   %s\n",
                   o, a, b, w, b / a, c, d, d / c, (w == "wall" ? p "x file (goal < 2)" : "") }'
    done
done
echo "goals: load <= 10x wc -l, resave <= 5x cp + sync (least of $runs runs; the load here includes showing a day)"

# The CSV import of the same ledger's export, as it is and with its lines
# shuffled, end to end (read, sort, save with sync and backup), against wc -l
# of the CSV.
cli="$build/cli/orvokakei-cli"
[ -f "$dir/saved.csv" ] || "$cli" csv-export "$(ledger saved 1000000)" "$dir/saved.csv" >/dev/null
[ -f "$dir/shuffled.csv" ] ||
    shuf --random-source="$dir/saved.csv" "$dir/saved.csv" >"$dir/shuffled.csv"
for order in saved shuffled; do
    : >"$dir/wc" ; : >"$dir/import"
    i=0
    while [ $i -lt "$runs" ]; do
        timed wc -l "$dir/$order.csv" >>"$dir/wc"
        timed "$cli" csv-import "$dir/$order.csv" "$dir/imported.dat" >>"$dir/import"
        i=$((i + 1))
    done
    for col in 1 2; do
        what=$([ $col = 1 ] && echo wall || echo cpu)
        awk -v o="$order" -v w="$what" -v a="$(least $col <"$dir/wc")" \
            -v b="$(least $col <"$dir/import")" 'BEGIN {
            printf "csv %-8s %7.1f ms %7.1f ms %-4s %6.1fx (csv-import against wc -l)\n", o, a, b, w, b / a }'
    done
done
rm -rf "$dir/imported.dat" "$dir/imported.dat.bak" "$dir/imported.dat.backups"

# Scaling: the least load time of RUNS at 10k .. 4M records; the exponent k in time ~ records^k.
for order in saved random; do
    line="scaling ($order):"
    for n in 10000 100000 1000000 4000000; do
        f=$(ledger $order $n)
        : >"$dir/load"
        i=0
        while [ $i -lt "$runs" ]; do
            loadtime "$f" >>"$dir/load"
            i=$((i + 1))
        done
        t=$(least 2 <"$dir/load")
        line="$line $n: $t ms cpu;"
        [ "$n" = 10000 ] && first=$t
        [ "$n" = 100000 ] && second=$t
        prev=$t
    done
    echo "$line exponent $(awk -v a="$first" -v b="$second" -v c="$prev" 'BEGIN {
        printf "%.2f (10k-4M), %.2f (100k-4M)", log(c / a) / log(400), log(c / b) / log(40) }')"
done
rm -f "$dir/copy.dat" "$dir/copy.dat.bak"
