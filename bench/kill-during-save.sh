#!/bin/sh
# Kills a save of a 1M-record ledger (orvokakei-cli resave) at random moments
# and checks each time that the ledger is the complete old or the complete new
# file; then that the next save leaves no temporary file behind.
# Usage: bench/kill-during-save.sh BUILD_DIR [RUNS [RECORDS]]
set -eu
build=${1:-build}
runs=${2:-200}
records=${3:-1000000}
cli=$build/cli/orvokakei-cli
dir=$(mktemp -d "${TMPDIR:-/tmp}/orvo-kill.XXXXXX")
trap 'rm -rf "$dir"' EXIT
"$build/bench/generate-ledger" "$dir/old.dat" "$records" 2000/01/01 10 30 1
"$build/bench/generate-ledger" "$dir/new.dat" "$records" 2000/01/01 10 30 2
mkdir "$dir/work"
target=$dir/work/ledger.dat
# The day written back holds no records, so a complete save is new.dat itself.
start=$(date +%s%N)
cp "$dir/old.dat" "$target"
"$cli" resave "$dir/new.dat" "$target" 1990/01/01
full_us=$((($(date +%s%N) - start) / 1000))
cmp -s "$target" "$dir/new.dat" || { echo "an uninterrupted save differs from the new file"; exit 1; }

old=0 new=0 bad=0
i=0
while [ "$i" -lt "$runs" ]; do
    i=$((i + 1))
    cp "$dir/old.dat" "$target"
    rm -f "$target.bak"
    delay_us=$(awk -v seed="$i" -v full="$full_us" 'BEGIN { srand(seed); printf "%d", rand() * full * 1.1 }')
    "$cli" resave "$dir/new.dat" "$target" 1990/01/01 &
    pid=$!
    sleep "$(awk -v us="$delay_us" 'BEGIN { printf "%.6f", us / 1e6 }')"
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    if cmp -s "$target" "$dir/old.dat"; then
        old=$((old + 1))
    elif cmp -s "$target" "$dir/new.dat"; then
        new=$((new + 1))
    else
        bad=$((bad + 1))
        echo "run $i (killed after ${delay_us} us): the ledger is neither the old nor the new file"
    fi
done
leftovers=$(find "$dir/work" -name '.orvo-*' | wc -l)
echo "$runs saves killed at random moments within $((full_us / 1000)) ms: $old left the old file, $new the new one, $bad anything else; $leftovers temporary files left by the killed saves in all"
"$cli" resave "$dir/new.dat" "$target" 1990/01/01
after=$(find "$dir/work" -name '.orvo-*' | wc -l)
echo "temporary files left after the next save: $after"
[ "$bad" -eq 0 ]
