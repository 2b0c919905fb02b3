#!/bin/sh
# What a command of orvokakei-cli costs before it does anything, side by side
# with wc -l of the same ledger: `calc 1+2` (no file at all) and `day` on a
# generated ledger of RECORDS records (default 100,000). For each command the
# least wall time of RUNS runs (default 15, the tools and ours in turn, so that
# a busy machine weighs on both alike), its peak RSS, and the shared libraries
# it loads (LD_DEBUG=libs) and how many of them are Qt's.
# Usage: bench/cli-start.sh BUILD_DIR [RUNS [RECORDS]]
build=${1:-build}
runs=${2:-15}
records=${3:-100000}
cli=$build/cli/orvokakei-cli
dir=$(mktemp -d "${TMPDIR:-/tmp}/orvo-cli-start.XXXXXX") || exit 1
trap 'rm -rf "$dir"' EXIT

ledger=$dir/ledger.dat
"$build/bench/generate-ledger" "$ledger" "$records" >/dev/null || exit 1
# A day in the middle of the generated years.
day=2006/06/15

# Wall milliseconds of one run: by perf where it may count, else by time(1) (to 10 ms).
timed() {
    if perf stat -x, -e duration_time -o "$dir/perf.out" "$@" >/dev/null 2>&1; then
        awk -F, '/duration_time/ { printf "%.2f\n", $1 / 1e6 }' "$dir/perf.out"
    else
        /usr/bin/time -f '%e' -o "$dir/time.out" "$@" >/dev/null 2>&1
        awk '{ printf "%.2f\n", $1 * 1000 }' "$dir/time.out"
    fi
}

rss() {
    /usr/bin/time -f '%M' -o "$dir/rss.out" "$@" >/dev/null 2>&1
    awk '{ printf "%.1f MiB", $1 / 1024 }' "$dir/rss.out"
}

# "N (Q Qt)": the shared objects the dynamic loader initialises for the command.
libraries() {
    LD_DEBUG=libs "$@" 2>&1 >/dev/null | grep 'calling init:' >"$dir/libs.out"
    printf '%d (%d Qt)' "$(grep -vc '^ *$' <"$dir/libs.out")" \
        "$(grep -c 'libQt6' <"$dir/libs.out")"
}

: >"$dir/wc"; : >"$dir/calc"; : >"$dir/day"
i=0
while [ $i -lt "$runs" ]; do
    timed wc -l "$ledger" >>"$dir/wc"
    timed "$cli" calc 1+2 >>"$dir/calc"
    timed "$cli" day "$ledger" "$day" >>"$dir/day"
    i=$((i + 1))
done

least() { sort -g "$1" | head -1; }
wc=$(least "$dir/wc")
size=$(wc -c <"$ledger")
printf '%-30s %9s %8s %11s   %s\n' command "wall" "x wc -l" "peak RSS" "libraries"
report() {
    awk -v c="$1" -v t="$2" -v w="$wc" -v r="$3" -v l="$4" \
        'BEGIN { printf "%-30s %6.2f ms %7.1fx %11s   %s\n", c, t, t / w, r, l }'
}
report "wc -l ($records records)" "$wc" "$(rss wc -l "$ledger")" "$(libraries wc -l "$ledger")"
report "calc 1+2" "$(least "$dir/calc")" "$(rss "$cli" calc 1+2)" "$(libraries "$cli" calc 1+2)"
report "day ($records records)" "$(least "$dir/day")" "$(rss "$cli" day "$ledger" "$day")" \
    "$(libraries "$cli" day "$ledger" "$day")"
echo "ledger: $records records, $size bytes; least of $runs runs"
echo "goals: calc 1+2 < 5 ms, day on 100,000 records < 15 ms, no Qt library for either"
