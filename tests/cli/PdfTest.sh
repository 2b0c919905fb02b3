#!/bin/sh
# orvokakei-cli print and report as PDF files and traced in the print fonts:
# the Qt build makes them (a first page that is not blank once rasterised),
# a build without Qt refuses them with exit 2.
. "$(dirname "$0")/TestSupport.sh"
sample="$top/sample/sample.dat"

"$cli" print "$sample" --pdf "$dir/ledger.pdf" --today 2026/12/08 2>"$dir/err"
status=$?
if [ $status = 2 ]; then
    grep -q 'needs the Qt build' "$dir/err" || fail "exit 2 without saying why: $(cat "$dir/err")"
    [ ! -e "$dir/ledger.pdf" ] || fail "a build without Qt wrote a PDF"
    "$cli" report "$sample" --year 2026 --pdf "$dir/report.pdf" 2>/dev/null
    [ $? = 2 ] || fail "report --pdf without Qt"
    [ "$failures" = 0 ] || exit 1
    exit 0
fi
[ $status = 0 ] || fail "print --pdf exit $status: $(cat "$dir/err")"

# Dark pixels of the first page at 30 dpi, as a grey map (the header's few bytes
# count for little).
darkPixels() {
    rm -f "$dir"/page*.pgm
    pdftoppm -gray -r 30 -f 1 -l 1 "$1" "$dir/page" || return
    od -An -v -tu1 "$dir"/page*.pgm | tr -s ' ' '\n' | awk '$1 != "" && $1 < 200 { n++ } END { print n + 0 }'
}

command -v pdftoppm >/dev/null || { echo "FAIL: pdftoppm (poppler-utils) is not installed"; exit 1; }
[ "$(head -c 5 "$dir/ledger.pdf")" = "%PDF-" ] || fail "not a PDF"
dark=$(darkPixels "$dir/ledger.pdf")
[ "${dark:-0}" -gt 2000 ] || fail "first page nearly blank: $dark dark pixels"
pages=$(pdftoppm -gray -r 5 "$dir/ledger.pdf" "$dir/all" && ls "$dir"/all*.pgm | wc -l)
traced=$("$cli" print "$sample" --trace --today 2026/12/08 2>/dev/null | grep -c '^page')
[ "$pages" = "$traced" ] && [ "$pages" -gt 1 ] || fail "PDF pages $pages, traced pages $traced"

# A range prints only its pages; a bad range writes no file.
"$cli" print "$sample" --pdf "$dir/two.pdf" --pages 2-2 2>/dev/null || fail "range 2-2"
[ "$(pdftoppm -gray -r 5 "$dir/two.pdf" "$dir/two" && ls "$dir"/two*.pgm | wc -l)" = 1 ] ||
    fail "range 2-2 is one page"
"$cli" print "$sample" --pdf "$dir/bad.pdf" --pages 3-2 2>/dev/null
[ $? = 1 ] && [ ! -e "$dir/bad.pdf" ] || fail "bad range wrote a PDF"
# A folder that does not exist: the error box's text, nothing written.
"$cli" print "$sample" --pdf "$dir/none/out.pdf" 2>"$dir/err"
[ $? = 1 ] && grep -q 'を作成できません' "$dir/err" || fail "unwritable PDF: $(cat "$dir/err")"

# The report's one page; in the print fonts the layout follows their widths.
"$cli" report "$sample" --year 2026 --pdf "$dir/report.pdf" 2>"$dir/err" || fail "report --pdf: $(cat "$dir/err")"
dark=$(darkPixels "$dir/report.pdf")
[ "${dark:-0}" -gt 1000 ] || fail "report page nearly blank: $dark dark pixels"
"$cli" report "$sample" --year 2026 --trace 2>/dev/null | grep -q '^rect ' || fail "report trace has no bars"

[ "$failures" = 0 ] || exit 1
