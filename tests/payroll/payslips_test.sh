#!/usr/bin/env bash
# The payslips of the demo month as PDF files through kestrel-tool payroll
# payslips: one PDF per employee of the list, each showing that employee's
# own amounts as the positions of the list hold them (pdftotext); then the
# payslips protected with the employee's PESEL, which qpdf opens only with
# that PESEL, and a run without qpdf that leaves no PDF behind.
set -euo pipefail
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
command -v pdftotext > /dev/null || { echo "pdftotext missing (poppler-utils): skipped"; exit 0; }
co="$work/DEMO.PK"
"$tool" demo "$work" --now "2026-12-08 09:30" > /dev/null

"$tool" payroll positions "$co" --list 2026/A/1 > "$work/positions.csv"
# The amount of a component of an employee as the picture "@E" shows it.
shown() { # employee component
    awk -F, -v e="$1" -v c="$2" '$2 == e && $3 == c { print $5 }' "$work/positions.csv" |
        while read -r amount; do
            whole=${amount%.*}; frac=${amount#*.}
            printf '%s,%s\n' "$(echo "$whole" | sed ':a;s/\B[0-9]\{3\}\>/.&/;ta')" "$frac"
        done
}
employees=$(awk -F, 'NR > 1 { print $2 }' "$work/positions.csv" | sort -u)
count=$(echo "$employees" | wc -l)
[ "$count" -gt 5 ] || fail "the demo list has $count employees"

out=$("$tool" payroll payslips "$co" --list 2026/A/1) || fail "payslips"
dir=$(echo "$out" | sed -n 1p)
[ "$(echo "$out" | sed -n 2p)" = "$count" ] || fail "written: $out"
[ "$dir" = "$co/WYDRUKI/PASKI/2026_12_A_1/" ] || fail "directory $dir"
[ "$(ls "$dir" | wc -l)" = "$count" ] || fail "files: $(ls "$dir")"
for nr in $employees; do
    [ -f "$dir/$nr.pdf" ] || fail "no PDF of $nr"
    text=$(pdftotext -layout "$dir/$nr.pdf" -)
    grep -q "Pracownik: $nr " <<< "$text" || fail "$nr: not his payslip"
    [ "$(grep -c "Pracownik:" <<< "$text")" = 1 ] || fail "$nr: more than one payslip"
    for component in BRUT DOWY; do
        amount=$(shown "$nr" "$component")
        [ -n "$amount" ] || continue
        grep -q -- " $amount" <<< "$text" || fail "$nr: $component $amount missing"
    done
done

command -v qpdf > /dev/null || { echo "qpdf missing: the protected payslips skipped"; exit 0; }
# Protected with the PESEL of each employee.
"$tool" param "$co" NAGLPSHAS=P
"$tool" payroll payslips "$co" --list 2026/A/1 --encrypt > /dev/null || fail "encrypted payslips"
"$tool" dbf dump "$co/PKPRAC.DBF" --fields NR_PRAC,PESELX_ --clear | tail -n +2 > "$work/pesel.csv"
checked=0
while IFS=, read -r nr pesel; do
    [ -f "$dir/$nr.pdf" ] || continue
    qpdf --check "$dir/$nr.pdf" > /dev/null 2>&1 && fail "$nr opens without a password"
    qpdf --check --password=00000000000 "$dir/$nr.pdf" > /dev/null 2>&1 \
        && fail "$nr opens with a wrong password"
    qpdf --check --password="$pesel" "$dir/$nr.pdf" > /dev/null 2>&1 \
        || fail "$nr does not open with his PESEL"
    pdftotext -upw "$pesel" "$dir/$nr.pdf" - | grep -q "Pracownik: $nr " || fail "$nr: text"
    checked=$((checked + 1))
done < "$work/pesel.csv"
[ "$checked" = "$count" ] || fail "$checked encrypted payslips checked of $count"

# The company password, Polish letters and all (stored in CP852, given to
# qpdf in UTF-8).
"$tool" param "$co" NAGLPSHAS=F "NAGLPSHSL=Źdźbło 9"
"$tool" payroll payslips "$co" --list 2026/A/1 --encrypt > /dev/null || fail "company password"
for nr in $employees; do
    qpdf --check --password="Źdźbło 9" "$dir/$nr.pdf" > /dev/null 2>&1 \
        || fail "$nr does not open with the company password"
    qpdf --check --password="Zdzblo 9" "$dir/$nr.pdf" > /dev/null 2>&1 \
        && fail "$nr opens with the password without its Polish letters"
done

# Without qpdf: refused, and no PDF is left under its final name.
rm -f "$dir"/*.pdf
status=0
env PATH=/nonexistent "$tool" payroll payslips "$co" --list 2026/A/1 --encrypt \
    > /dev/null 2> "$work/err" || status=$?
[ "$status" = 1 ] && grep -q "Brak programu qpdf" "$work/err" || fail "without qpdf: $status"
[ -z "$(ls "$dir")" ] || fail "files left without qpdf: $(ls "$dir")"
echo OK
