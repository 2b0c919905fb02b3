#!/bin/sh
# The speed goals at 1M records, each against a plain tool on the same file:
# one search pass against grep -F -i -c, the CSV export against cp, the CSV
# import against wc -l. Best of five for the tools; the benchmark's mean for
# the program. Usage: bench/compare-csv-search.sh BUILD_DIR
build=${1:-build}
tmp=${TMPDIR:-/tmp}
dat=$tmp/orvo-bench-1000000.dat
csv=$tmp/orvo-bench-1000000.csv

# Creates both files on its first run.
"$build/bench/csv_search_bench" 2>/dev/null >"$tmp/orvo-csv-bench.out" || exit 1
ms() { awk -v n="$1" '$1 == n && $3 == "ms" { print $2 }' "$tmp/orvo-csv-bench.out"; }

# Milliseconds of the fastest of five runs of the command.
best() {
    best=
    for i in 1 2 3 4 5; do
        start=$(date +%s%N)
        "$@" >"$tmp/orvo-bench-tool.out"  # not /dev/null, which grep takes for -q
        end=$(date +%s%N)
        t=$(((end - start) / 1000))
        [ -z "$best" ] || [ "$t" -lt "$best" ] && best=$t
    done
    awk -v t="$best" 'BEGIN { printf "%.1f", t / 1000 }'
}

keyword=$(printf '\203\163\203\101\203\155')  # the benchmark's keyword, in CP932
grep_ms=$(LC_ALL=C best grep -F -i -c "$keyword" "$dat")
cp_ms=$(best cp "$dat" "$tmp/orvo-bench-copy.dat")
# The export syncs its file before renaming it into place; so does this.
cp_sync_ms=$(best sh -c 'cp "$1" "$2" && sync "$2"' - "$dat" "$tmp/orvo-bench-copy.dat")
grep_utf8_ms=$(LC_ALL=C.UTF-8 best grep -F -i -c "$keyword" "$dat")
wc_ms=$(best wc -l "$csv")
rm -f "$tmp/orvo-bench-copy.dat" "$tmp/orvo-bench-tool.out"

report() {
    awk -v what="$1" -v ours="$2" -v tool="$3" -v name="$4" -v goal="$5" 'BEGIN {
        printf "%-14s %8.1f ms   %-22s %7.1f ms   ratio %5.2f (goal <= %s)\n",
               what, ours, name, tool, ours / tool, goal }'
}
report "search pass" "$(ms BM_SearchPass)" "$grep_ms" "grep -F -i -c (C)" 2
report "search pass" "$(ms BM_SearchPass)" "$grep_utf8_ms" "grep -F -i -c (UTF-8)" 2
report "csv export" "$(ms BM_CsvExport)" "$cp_ms" "cp" 3
report "csv export" "$(ms BM_CsvExport)" "$cp_sync_ms" "cp + sync FILE" 3
report "csv import" "$(ms BM_CsvImport)" "$wc_ms" "wc -l" 10
