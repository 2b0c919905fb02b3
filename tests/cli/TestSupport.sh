# Shared by the orvokakei-cli tests, sourced with the program's path as $1:
# a scratch folder, failure counting and ledgers of the standard shape.
cli=$1
top=$(cd "$(dirname "$0")/../.." && pwd)
failures=0
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# UTF-8 text as CP932.
sjis() { printf "$1" | iconv -f UTF-8 -t CP932; }

# The header of a ledger of the standard shape; $2 is the titles line (a
# printf format), five ASCII titles by default.
ledger_header() {
    printf '640\r\n480\r\n6\r\n6\r\n20\r\n20\r\n20\r\n20\r\n20\r\n20\r\n20\r\n90\r\n90\r\n90\r\n90\r\n160\r\n' >"$1"
    printf "${2:-A\tB\tC\tD\tE}\r\n" >>"$1"
}

# A ledger whose records are the arguments (printf formats, bytes as given).
ledger() {
    file=$1
    shift
    ledger_header "$file"
    for r in "$@"; do printf "$r\r\n" >>"$file"; done
}

# The same with records written in UTF-8, stored as CP932.
ledger_sjis() {
    file=$1
    shift
    ledger_header "$file"
    for r in "$@"; do sjis "$r\r\n" >>"$file"; done
}
