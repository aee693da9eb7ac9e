#!/usr/bin/env bash
# A payroll month of the demo company through kestrel-tool: a list opened,
# recalculated twice to the same positions without the table growing,
# closed, transferred to the tax records; the month's close refused while
# the insurance data of the month are not brought up to date.
set -euo pipefail
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
co="$work/DEMO.PK"
"$tool" demo "$work" --now "2026-12-08 09:30" > /dev/null

[ "$("$tool" payroll open "$co" --symbol A --paid 2026-12-10)" = "2026/A/1" ] || fail open
"$tool" payroll open "$co" --symbol A --paid 2026-12-11 2> "$work/err" && fail "a second open list"
grep -q 'Istnieje aktywna lista płac' "$work/err" || fail "second list message: $(cat "$work/err")"

# A valorisation index of the old form (the month not zero padded) refuses
# the recalculation and is left as it is; without the file the table layer
# builds it anew.
"$tool" dbf index "$co/PKWALOR.DBF" "$co/PKWALOR1.NTX" 'str(rok_,4)+str(miesiac_,2)' > /dev/null
"$tool" payroll recalc "$co" > /dev/null 2> "$work/err" && fail "recalculated over an outdated index"
grep -q 'Błędny indeks PKWALOR' "$work/err" || fail "outdated index message: $(cat "$work/err")"
"$tool" payroll positions "$co" | grep -q '^2026/A/1,' && fail "positions written despite the refusal"
rm "$co/PKWALOR1.NTX"

"$tool" payroll recalc "$co" > "$work/recalc1" 2> "$work/warn" || fail "recalc: $(cat "$work/warn")"
[ -s "$work/warn" ] && fail "recalc warned: $(cat "$work/warn")"
"$tool" payroll positions "$co" > "$work/first.csv"
# 11200.00 base pay: contributions 1535.52, health 869.80, tax 830, paid 7964.68.
grep -q '^2026/A/1,000001,DOWY,Do wypłaty,7964.68,F,F,T,F$' "$work/first.csv" || fail "net pay"
grep -q '^2026/A/1,000001,ZALI,Zaliczka na podatek,830.00,T,F,F,F$' "$work/first.csv" || fail "tax"
records=$("$tool" dbf dump "$co/PKPLACE.DBF" --deleted | wc -l)
"$tool" payroll recalc "$co" > /dev/null 2>&1 || fail "rerun"
"$tool" payroll positions "$co" > "$work/second.csv"
cmp -s "$work/first.csv" "$work/second.csv" || fail "the rerun changed the positions"
[ "$("$tool" dbf dump "$co/PKPLACE.DBF" --deleted | wc -l)" = "$records" ] || fail "the rerun grew PKPLACE"

"$tool" payroll close "$co" > /dev/null || fail close
"$tool" payroll lists "$co" > "$work/lists.csv"
grep -q '^2026/A/1,2026,12,A,1,2026-12-10,F,T,2026$' "$work/lists.csv" || fail "closed list"
"$tool" tax transfer "$co" > /dev/null || fail transfer
"$tool" payroll positions "$co" --list 2026/A/1 > "$work/moved.csv"
grep -q '^2026/A/1,000001,DOWY,Do wypłaty,7964.68,F,F,T,T$' "$work/moved.csv" || fail "positions not marked"

"$tool" payroll close-month "$co" 2> "$work/err" > /dev/null && fail "month closed without insurance data"
grep -q 'Brak aktualiz. modułu ZUS wykonaj 6.2.' "$work/err" || fail "close-month message: $(cat "$work/err")"
echo "payroll tool test passed"
