#!/bin/sh
# Kills a save of a 1M-record ledger at random moments and checks each time
# that the ledger is the complete old or the complete new file; then that the
# next save leaves no temporary file behind. COMMAND is the save killed:
# resave (another ledger over it), replace (in place: 食費 for 食 in every
# record) or csv-import (a CSV of the other ledger over it); each takes over
# the lock the killed run before it left.
# Usage: bench/kill-during-save.sh BUILD_DIR [RUNS [RECORDS [COMMAND]]]
set -eu
build=${1:-build}
runs=${2:-200}
records=${3:-1000000}
command=${4:-resave}
cli=$build/cli/orvokakei-cli
dir=$(mktemp -d "${TMPDIR:-/tmp}/orvo-kill.XXXXXX")
trap 'rm -rf "$dir"' EXIT
"$build/bench/generate-ledger" "$dir/old.dat" "$records" 2000/01/01 10 30 1
"$build/bench/generate-ledger" "$dir/other.dat" "$records" 2000/01/01 10 30 2
"$cli" csv-export "$dir/other.dat" "$dir/other.csv"
mkdir "$dir/work"
target=$dir/work/ledger.dat

# Run in a subshell of its own, which the command replaces (so that its
# process id is the command's).
save() {
    case $command in
    resave) exec "$cli" resave "$dir/other.dat" "$target" 1990/01/01 ;;
    replace) exec "$cli" replace "$target" 食 食費 "$target" ;;
    csv-import) exec "$cli" csv-import "$dir/other.csv" "$target" ;;
    *) echo "unknown command $command" >&2; exit 2 ;;
    esac
}

# An uninterrupted save gives the new file.
start=$(date +%s%N)
cp "$dir/old.dat" "$target"
(save) >/dev/null 2>&1
full_us=$((($(date +%s%N) - start) / 1000))
cp "$target" "$dir/new.dat"
cmp -s "$dir/new.dat" "$dir/old.dat" && { echo "an uninterrupted save changed nothing"; exit 1; }
rm -f "$target.bak"

old=0 new=0 bad=0 refused=0
i=0
while [ "$i" -lt "$runs" ]; do
    i=$((i + 1))
    cp "$dir/old.dat" "$target"
    rm -f "$target.bak"
    delay_us=$(awk -v seed="$i" -v full="$full_us" 'BEGIN { srand(seed); printf "%d", rand() * full * 1.5 }')
    save >/dev/null 2>&1 &
    pid=$!
    sleep "$(awk -v us="$delay_us" 'BEGIN { printf "%.6f", us / 1e6 }')"
    kill -9 "$pid" 2>/dev/null || true
    status=0
    wait "$pid" 2>/dev/null || status=$?
    # A run that ended on its own with a fault (the lock of a killed run
    # not taken over, say) is no save at all.
    [ "$status" = 1 ] && refused=$((refused + 1))
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
echo "$command: $runs saves killed at random moments within $((full_us / 1000)) ms: $old left the old file, $new the new one, $bad anything else; $refused refused; $leftovers temporary files left by the killed saves in all"
cp "$dir/old.dat" "$target"
(save) >/dev/null 2>&1 || echo "the save after the killed ones failed"
after=$(find "$dir/work" -name '.orvo-*' | wc -l)
echo "temporary files left after the next save: $after"
[ "$bad" -eq 0 ]
