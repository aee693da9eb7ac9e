#!/usr/bin/env bash
# The payroll list of the demo month through kestrel-tool payroll print: a
# matrix of the demo's components as the summary (Z) and as payslips (P),
# and the columns without matrix (B), each to a print file and to PDF; the
# PDF text (pdftotext) must show every employee's net pay and gross pay as
# the positions of the list hold them, and the list's total.
set -euo pipefail
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
command -v pdftotext > /dev/null || { echo "pdftotext missing (poppler-utils): skipped"; exit 0; }
co="$work/DEMO.PK"
"$tool" demo "$work" --now "2026-12-08 09:30" > /dev/null

"$tool" table append "$co" PKNTBW TBW_=DEMO TYP_=1 "NAZWA_=Lista płac demo" NR_IND=1 > /dev/null \
    || fail "matrix"
cell() { # row column width heading content type [picture]
    "$tool" table append "$co" PKTBW TBW_=DEMO WIERSZ_="$1" NR_KOL="$2" SZER_KOL="$3" \
        "OPIS_=$4" "ZAWARTOSC_=$5" TYP_POLA="$6" "MASKA_=${7:-}" SUMA_=T > /dev/null \
        || fail "cell $1 $2"
}
cell 1 1 30 "Nazwisko i imię" 'trim(dky(pkprac->nazwx_))+" "+trim(dky(pkprac->imiex_))' C
cell 1 2 14 "Brutto" BRUT N "@E 9,999,999.99"
cell 1 3 14 "Zaliczka" ZALI N "@E 9,999,999.99"
cell 1 4 14 "Do wypłaty" DOWY N "@E 9,999,999.99"

# The amounts of the positions, as the picture "@E" shows them.
"$tool" payroll positions "$co" --list 2026/A/1 > "$work/positions.csv"
shown() { # component -> lines "employee amount"
    awk -F, -v c="$1" '$3 == c { print $2, $5 }' "$work/positions.csv" | while read -r nr amount; do
        whole=${amount%.*}; frac=${amount#*.}
        printf '%s %s,%s\n' "$nr" "$(echo "$whole" | sed ':a;s/\B[0-9]\{3\}\>/.&/;ta')" "$frac"
    done
}
employees=$(awk -F, 'NR > 1 { print $2 }' "$work/positions.csv" | sort -u | wc -l)
[ "$employees" -gt 5 ] || fail "the demo list has $employees employees"

for layout in Z P B; do
    matrix=(--matrix DEMO)
    [ "$layout" = B ] && matrix=()
    out="$work/list_$layout"
    printed=$("$tool" payroll print "$co" --list 2026/A/1 --layout "$layout" "${matrix[@]}" \
        "$out.prt") || fail "print $layout"
    [ "$printed" = "$employees" ] || fail "$layout: $printed employees printed of $employees"
    "$tool" payroll print "$co" --list 2026/A/1 --layout "$layout" "${matrix[@]}" "$out.pdf" \
        > /dev/null || fail "pdf $layout"
    pdftotext -layout "$out.pdf" "$out.txt"
    for component in BRUT DOWY; do
        while read -r nr amount; do
            grep -q -- "$amount" "$out.txt" || fail "$layout: $component of $nr ($amount) missing"
        done < <(shown "$component")
    done
    # The names come unscrambled from the register.
    if [ "$layout" != B ]; then
        grep -q "Kowalczyk Anna Maria" "$out.txt" || fail "$layout: the name of 000001"
    fi
    # The print file holds what the PDF shows.
    tr -d '\r\f' < "$out.prt" | iconv -f CP852 -t UTF-8 > "$out.text"
    while read -r nr amount; do
        grep -q -- "$amount" "$out.text" || fail "$layout: print file without $amount of $nr"
    done < <(shown DOWY)
done

# The summary's total of the net pay and its words.
total=$(awk -F, '$3 == "DOWY" { s += $5 * 100 } END { printf "%d", s + 0.5 }' "$work/positions.csv")
words_grosze=$(printf '%02d' $((total % 100)))
grep -q "RAZEM:" "$work/list_Z.txt" || fail "no RAZEM"
grep -q "Słownie złotych do wypłaty: .* $words_grosze/100" "$work/list_Z.txt" \
    || fail "the net pay in words"
# Payslips: one per employee.
slips=$(grep -c "Pracownik:" "$work/list_P.txt")
[ "$slips" = "$employees" ] || fail "$slips payslips for $employees employees"

# A refusal: no such matrix.
status=0; "$tool" payroll print "$co" --list 2026/A/1 --layout Z --matrix NIE "$work/x.prt" \
    2> "$work/err" > /dev/null || status=$?
[ "$status" = 1 ] && grep -q "Brak definicji tabulogramu" "$work/err" || fail "missing matrix"
echo OK
