#!/usr/bin/env bash
# The working-time print-outs of the demo company's month through
# kestrel-tool worktime-print, rendered to PDF: the text read back with
# pdftotext holds the titles, the Polish names, the absences and the
# totals (runs of blanks squeezed to one); pdfinfo counts one page per
# time sheet and a landscape list.
#
#   worktime_pdf_test.sh KESTREL-TOOL
set -euo pipefail
tool=$(realpath "$1")
for c in pdftotext pdfinfo; do
    command -v "$c" >/dev/null || { echo "FAIL: $c is missing (Debian package poppler-utils)"; exit 1; }
done
work=$(mktemp -d /tmp/kestrel-wtpdf.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$tool" demo "$work" --now "2026-12-08 09:00" >/dev/null
company="$work/DEMO.PK"

fail() { echo "FAIL: $*"; exit 1; }
has() { grep -qF -- "$2" "$1" || fail "$1 lacks: $2"; }

# The time sheets on a 9-pin printer: bold titles and Polish letters.
n=$("$tool" worktime-print "$company" sheet "$work/sheet.prt" --type E --pdf "$work/sheet.pdf")
pdftotext -layout "$work/sheet.pdf" - | tr -s " " >"$work/sheet.txt"
has "$work/sheet.txt" "KARTA EWIDENCJI CZASU PRACY - grudzień 2026"
has "$work/sheet.txt" "Pracownik: 000003 Wiśniewska Katarzyna"
has "$work/sheet.txt" "1 wtorek roboczy 8.00 CH Zwolnienie chorobowe"
has "$work/sheet.txt" "Razem wg typów:"
has "$work/sheet.txt" "24 czwartek święto"
pages=$(pdfinfo "$work/sheet.pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" = "$n" ] || fail "$pages pages for $n time sheets"

# One employee, the list of a department, in landscape.
n=$("$tool" worktime-print "$company" sheet "$work/one.prt" --from 3 --to 3 --type 0 --pdf "$work/one.pdf")
[ "$n" = 1 ] || fail "$n sheets for one employee"
"$tool" worktime-print "$company" list "$work/list.prt" --department PROD --type H --pdf "$work/list.pdf" >/dev/null
pdftotext -layout "$work/list.pdf" - | tr -s " " >"$work/list.txt"
has "$work/list.txt" "LISTA OBECNOŚCI - grudzień 2026, dział: PROD Produkcja"
has "$work/list.txt" "Nb.:"
grep -q "Kowalczyk" "$work/list.txt" && fail "an employee of another department is on the list"
pdfinfo "$work/list.pdf" | grep -q "841.89 x 595.276" || fail "the list is not landscape"

# Nothing to print is said and fails.
if "$tool" worktime-print "$company" list "$work/none.prt" --department NONE 2>"$work/err"; then
    fail "an empty list succeeded"
fi
has "$work/err" "Brak pracowników do wydruku"
echo "ok"
