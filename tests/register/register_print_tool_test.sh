#!/usr/bin/env bash
# The register printout of the demo company through kestrel-tool, into a
# print file for an Epson printer with the Mazovia letters and into a PDF:
# the choices select the employees, the date stands in the header, the
# Polish letters read back from the PDF and its pages are counted.
#
#   register_print_tool_test.sh KESTREL-TOOL
set -euo pipefail
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
co="$work/DEMO.PK"
"$tool" demo "$work" --now "2026-12-08 09:30" > /dev/null

# The counts of the groups and of a range.
[ "$("$tool" register print "$co" "$work/a.prt")" = 19 ] || fail "current employees"
[ "$("$tool" register print "$co" "$work/a.prt" --group former)" = 2 ] || fail "former"
[ "$("$tool" register print "$co" "$work/a.prt" --group all --from 5 --to 7)" = 3 ] || fail "range"
status=0; "$tool" register print "$co" "$work/a.prt" --from 900 2> "$work/err" || status=$?
[ "$status" = 1 ] || fail "an empty range: exit $status"
grep -q "Brak danych do wydruku" "$work/err" || fail "an empty range: $(cat "$work/err")"
status=0; "$tool" register print "$co" "$work/a.prt" --group some 2> /dev/null || status=$?
[ "$status" = 2 ] || fail "a wrong group: exit $status"

# The print file: the Epson reset first, the Mazovia letters ("ą" is 86 hex).
"$tool" register print "$co" "$work/e.prt" --type E --letters 2 > /dev/null
head -c 2 "$work/e.prt" | od -An -tx1 | grep -q "1b 40" || fail "no reset at the start"
LC_ALL=C grep -q $'D\x86browska' "$work/e.prt" || fail "no Mazovia letters"

command -v pdftotext > /dev/null && command -v pdfinfo > /dev/null || {
    echo "SKIP: pdftotext or pdfinfo missing (Debian poppler-utils)"; exit 0; }
"$tool" register print "$co" "$work/k.pdf" --group all --sort name --date 2026-12-31 \
    --type E --letters 2 > /dev/null
text=$(pdftotext -layout "$work/k.pdf" -)
grep -q "Data wydruku: 2026-12-31" <<< "$text" || fail "the date"
grep -q "Kartoteka pracowników" <<< "$text" || fail "the title"
grep -q "Dąbrowska Joanna" <<< "$text" || fail "a name with Polish letters"
grep -q "Razem pracowników: 21" <<< "$text" || fail "the count"
pages=$(pdfinfo "$work/k.pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" = 2 ] || fail "pages: $pages"
# Alphabetical: Dąbrowska before Łukasik before Nowak.
order=$(grep -o "Dąbrowska\|Łukasik\|Nowak Piotr" <<< "$text" | tr '\n' ' ')
[ "$order" = "Dąbrowska Łukasik Nowak Piotr " ] || fail "order: $order"
echo "ok"
