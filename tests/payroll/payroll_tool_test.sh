#!/usr/bin/env bash
# A payroll month of the demo company through kestrel-tool: the demo's list
# of the month recalculated twice to the same positions without the table
# growing, closed, transferred to the tax records; the month's close refused
# while the insurance data of the month are not brought up to date.
set -euo pipefail
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
co="$work/DEMO.PK"
"$tool" demo "$work" --now "2026-12-08 09:30" > /dev/null

# The demo ships its month computed on the open list 2026/A/1.
"$tool" payroll open "$co" --symbol A --paid 2026-12-11 2> "$work/err" && fail "a second open list"
grep -q 'Istnieje aktywna lista płac' "$work/err" || fail "second list message: $(cat "$work/err")"
"$tool" payroll positions "$co" > "$work/demo.csv"
# 11200.00 base pay: contributions 1535.52, health 869.80, tax 830, paid 7964.68.
grep -q '^2026/A/1,000001,DOWY,Do wypłaty,7964.68,F,F,T,F$' "$work/demo.csv" || fail "net pay"
grep -q '^2026/A/1,000001,ZALI,Zaliczka na podatek dochodowy,830.00,T,F,F,F$' "$work/demo.csv" || fail "tax"
records=$("$tool" dbf dump "$co/PKPLACE.DBF" --deleted | wc -l)

# A valorisation index of the old form (the month not zero padded) refuses
# the recalculation and is left as it is; without the file the table layer
# builds it anew.
"$tool" dbf index "$co/PKWALOR.DBF" "$co/PKWALOR1.NTX" 'str(rok_,4)+str(miesiac_,2)' > /dev/null
"$tool" payroll recalc "$co" > /dev/null 2> "$work/err" && fail "recalculated over an outdated index"
grep -q 'Błędny indeks PKWALOR' "$work/err" || fail "outdated index message: $(cat "$work/err")"
rm "$co/PKWALOR1.NTX"

# Recalculated twice more: the same positions, the table not grown.
for run in 1 2; do
    "$tool" payroll recalc "$co" > /dev/null 2> "$work/warn" || fail "recalc: $(cat "$work/warn")"
    [ -s "$work/warn" ] && fail "recalc warned: $(cat "$work/warn")"
    "$tool" payroll positions "$co" > "$work/again.csv"
    cmp -s "$work/demo.csv" "$work/again.csv" || fail "run $run changed the positions"
    [ "$("$tool" dbf dump "$co/PKPLACE.DBF" --deleted | wc -l)" = "$records" ] ||
        fail "run $run grew PKPLACE"
done

"$tool" payroll close "$co" > /dev/null || fail close
"$tool" payroll lists "$co" > "$work/lists.csv"
grep -q '^2026/A/1,2026,12,A,1,2026-12-31,F,T,2026$' "$work/lists.csv" || fail "closed list"
# The income kinds of the components, where the company lacks them.
for kind in 0001 0004 0006; do
    "$tool" dbf dump "$co/PKRDOCH.DBF" --fields TYTUL_WYP | grep -qx "$kind" ||
        "$tool" table append "$co" PKRDOCH TYTUL_WYP=$kind NAZWA_=Dochody PODAT_=T KOSZT_=T \
            KUMUL_=T > /dev/null
done
"$tool" tax transfer "$co" > /dev/null || fail transfer
"$tool" payroll positions "$co" --list 2026/A/1 > "$work/moved.csv"
grep -q '^2026/A/1,000001,DOWY,Do wypłaty,7964.68,F,F,T,T$' "$work/moved.csv" || fail "positions not marked"

"$tool" payroll close-month "$co" 2> "$work/err" > /dev/null && fail "month closed without insurance data"
grep -q 'Brak aktualiz. modułu ZUS wykonaj 6.2.' "$work/err" || fail "close-month message: $(cat "$work/err")"
echo "payroll tool test passed"
