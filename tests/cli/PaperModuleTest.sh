#!/bin/sh
# The Qt build's paper module: only the commands that need the print fonts load
# it, and with it Qt; the program finds it from its own real place (the same
# path as installed); a missing or broken module is a plain error, exit 1.
. "$(dirname "$0")/TestSupport.sh"
sample="$top/sample/sample.dat"

"$cli" print "$sample" --trace --today 2026/12/08 >"$dir/trace" 2>"$dir/err"
status=$?
[ $status = 2 ] && exit 0  # no Qt build: no module (PdfTest checks the refusal)
[ $status = 0 ] || fail "print --trace exit $status: $(cat "$dir/err")"

# The Qt libraries the dynamic loader starts for a command.
qtLibraries() { LD_DEBUG=libs "$@" 2>&1 >/dev/null | grep 'calling init:' | grep -c 'libQt6'; }
for command in "calc 1+2" "day $sample 2026/12/08" "print $sample --trace --metrics fixed" \
               "summary $sample --year 2026"; do
    # shellcheck disable=SC2086  # the command's words
    n=$(qtLibraries "$cli" $command)
    [ "$n" = 0 ] || fail "$command loads $n Qt libraries"
done
n=$(qtLibraries "$cli" print "$sample" --trace --today 2026/12/08)
[ "$n" -gt 0 ] || fail "print --trace in the print fonts loaded no Qt: is the module found at all?"

# The program alone in bin/ of a prefix of its own, called through a link from elsewhere.
module=$(LD_DEBUG=libs "$cli" print "$sample" --trace 2>&1 >/dev/null |
         sed -n 's/.*calling init: \(.*orvokakei-cli-paper\.so\)$/\1/p' | head -n 1)
[ -f "$module" ] || fail "no module in the loader's trace: '$module'"
mkdir -p "$dir/prefix/bin" "$dir/elsewhere"
cp "$cli" "$dir/prefix/bin/orvokakei-cli"
ln -s "$dir/prefix/bin/orvokakei-cli" "$dir/elsewhere/orvokakei-cli"
relative=${module#"$(dirname "$cli")/"}
moved() { "$dir/elsewhere/orvokakei-cli" print "$sample" --trace --today 2026/12/08; }

moved >/dev/null 2>"$dir/err"
[ $? = 1 ] && grep -q '^印刷フォントの部品を読み込めません: .*orvokakei-cli-paper\.so' "$dir/err" ||
    fail "missing module: $(cat "$dir/err")"
mkdir -p "$(dirname "$dir/prefix/bin/$relative")"
: >"$dir/prefix/bin/$relative"
moved >/dev/null 2>"$dir/err"
[ $? = 1 ] && grep -q '^印刷フォントの部品を読み込めません: ' "$dir/err" ||
    fail "broken module: $(cat "$dir/err")"
cp "$module" "$dir/prefix/bin/$relative"
moved >"$dir/moved" 2>"$dir/err" || fail "module beside the moved program: $(cat "$dir/err")"
cmp -s "$dir/trace" "$dir/moved" || fail "the moved program's pages differ"

[ "$failures" = 0 ] || exit 1
