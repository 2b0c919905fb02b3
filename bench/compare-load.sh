#!/bin/sh
# The load and resave goals at 1M records, each against a plain tool on the
# same file: the load (as the program saves a ledger, and with each day's
# records shuffled) against wc -l, resave against cp + sync; the peak memory of
# a load against the file's size; and how the load time grows from 10k to 4M
# records. Best of five for the tools and resave; the benchmark's mean for the
# load. Usage: bench/compare-load.sh BUILD_DIR
build=${1:-build}
tmp=${TMPDIR:-/tmp}

# Creates the ledger files on its first run.
"$build/bench/ledger_bench" --benchmark_filter=BM_Load 2>/dev/null >"$tmp/orvo-load-bench.out" || exit 1
ms() { awk -v n="BM_Load/$1/$2/" 'index($1, n) == 1 && $3 == "ms" { print $2 }' "$tmp/orvo-load-bench.out"; }

# Milliseconds of the fastest of five runs of the command.
best() {
    best=
    for i in 1 2 3 4 5; do
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        t=$(((end - start) / 1000))
        [ -z "$best" ] || [ "$t" -lt "$best" ] && best=$t
    done
    awk -v t="$best" 'BEGIN { printf "%.1f", t / 1000 }'
}

report() {
    awk -v what="$1" -v ours="$2" -v tool="$3" -v name="$4" -v goal="$5" 'BEGIN {
        printf "%-22s %8.1f ms   %-10s %7.1f ms   ratio %5.2f (goal <= %s)\n",
               what, ours, name, tool, ours / tool, goal }'
}

for order in 0 1; do
    case $order in 0) name=saved suffix= ;; 1) name=shuffled suffix=-shuffled ;; esac
    dat=$tmp/orvo-bench-1000000$suffix.dat
    wc_ms=$(best wc -l "$dat")
    cp_sync_ms=$(best sh -c 'cp "$1" "$2" && sync "$2"' - "$dat" "$tmp/orvo-bench-copy.dat")
    resave_ms=$(best "$build/cli/orvokakei-cli" resave "$dat" "$tmp/orvo-bench-copy.dat" 2026/12/08)
    report "load ($name)" "$(ms 1000000 $order)" "$wc_ms" "wc -l" 10
    report "resave ($name)" "$resave_ms" "$cp_sync_ms" "cp + sync" 5
    "$build/bench/load-peak-memory" "$dat" | sed "s/^/peak ($name): /"
    # The exponent k in time ~ records^k, from 10k to 4M and from 100k to 4M.
    awk -v a="$(ms 10000 $order)" -v b="$(ms 100000 $order)" -v c="$(ms 1000000 $order)" \
        -v d="$(ms 4000000 $order)" -v name="$name" 'BEGIN {
        printf "scaling (%s): 10k %.2f ms, 100k %.1f ms, 1M %.1f ms, 4M %.1f ms; exponent %.2f (10k-4M), %.2f (100k-4M)\n",
               name, a, b, c, d, log(d / a) / log(400), log(d / b) / log(40) }'
done
rm -f "$tmp/orvo-bench-copy.dat"
