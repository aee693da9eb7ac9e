#!/usr/bin/env bash
# A payroll month of the demo company through the program's screens, as an
# operator types it: the demo's list deleted and a list opened (4.2), a bonus entered (4.4), the list
# recalculated (4.5), the tax advance of one employee corrected and blocked
# (4.6), the list closed (4.2), the month's lists transferred to the tax
# records (7.2) and to the insurance records (6.2), and the month closed
# (4.7); the tables are checked after.
set -euo pipefail
kestrel=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
tool=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
co="$work/DEMO.PK"
"$tool" demo "$work" --now "2026-12-08 09:30" > /dev/null
# The income kinds of the components, where the company lacks them.
for kind in 0001 0004 0006; do
    "$tool" dbf dump "$co/PKRDOCH.DBF" --fields TYTUL_WYP | grep -qx "$kind" ||
        "$tool" table append "$co" PKRDOCH TYTUL_WYP=$kind NAZWA_=Dochody PODAT_=T KOSZT_=T \
            KUMUL_=T > /dev/null
done

# Runs the program on the demo company with the key script on standard
# input; the script ends the program by running out of keys (status 3).
run() {
    cat > "$work/keys"
    local status=0
    (cd "$work" && "$kestrel" DEMO --script "$work/keys" --now "2026-12-08 09:30" \
        > "$work/stdout" 2> "$work/stderr") || status=$?
    [ "$status" = 3 ] || fail "program exit status $status: $(cat "$work/stderr")"
}

# The demo ships its month computed on list 2026/A/1: the operator deletes
# that list with its positions (4.2 Del: the warning of its positions, the
# question) and does the month himself.
run <<'KEYS'
42{Del}{Enter}t{Ins}A{Enter}{Enter}{Enter}20261231{Enter}{Esc}
41{Enter}PREU500{Enter}{F10}{F10}
5{Enter}t{Enter}{Esc}
6{Down*15}{Enter}{Ctrl+Y}800{Enter}T{Esc}
2{Right*5}{Enter}t{Esc}{Esc}
72t{Enter}{Esc}
KEYS

"$tool" payroll lists "$co" > "$work/lists.csv"
grep -q '^2026/A/1,2026,12,A,1,2026-12-31,F,T,2026$' "$work/lists.csv" ||
    fail "the list is not there closed: $(cat "$work/lists.csv")"
"$tool" payroll positions "$co" --list 2026/A/1 --employee 000001 > "$work/one.csv"
# 11200.00 base pay and the 500.00 bonus: gross 11700.00; the tax advance
# the recalculation computed (882.00) corrected to 800.00 and blocked; the
# net pay is the recalculation's, computed before the correction.
for want in 'PREU,Premia uznaniowa,500.00,F,F,F,T' \
    'BRUT,Wynagrodzenie brutto,11700.00,F,F,T,T' \
    'ZALI,Zaliczka na podatek dochodowy,800.00,T,T,F,T' \
    'DOWY,Do wypłaty,8305.30,F,F,T,T'; do
    grep -q "^2026/A/1,000001,$want\$" "$work/one.csv" || fail "position $want: $(cat "$work/one.csv")"
done
"$tool" payroll positions "$co" --list 2026/A/1 --employee 000002 > "$work/two.csv"
grep -q '^2026/A/1,000002,ZALI,Zaliczka na podatek dochodowy,964.00,T,F,F,T$' "$work/two.csv" ||
    fail "another employee's tax: $(cat "$work/two.csv")"
grep -q ',PREU,' "$work/two.csv" && fail "a bonus nobody entered"

# Every change of the positions cleared the month's insurance flag, so the
# close is refused now ...
"$tool" dbf dump "$co/PKSTER.DBF" --fields ROK_,MC_,AKT_ZUS > "$work/ster.csv"
grep -q '^2026,12,F$' "$work/ster.csv" || fail "AKT_ZUS not cleared: $(cat "$work/ster.csv")"
# ... until the insurance data of the month are made: 6.2 (the warning,
# "Dekretować?", the end) sets AKT_ZUS of PKSTER again.
run <<'KEYS'
62{Enter}t{Enter}{Esc}
KEYS
"$tool" dbf dump "$co/PKSTER.DBF" --fields ROK_,MC_,AKT_ZUS > "$work/ster.csv"
grep -q '^2026,12,T$' "$work/ster.csv" || fail "6.2 did not set AKT_ZUS: $(cat "$work/ster.csv")"

# 4.7: the next month (typed whole, it ends the field), the PPK warning,
# the close question, the end.
run <<'KEYS'
47202701{Enter}t{Enter}{Esc}
KEYS
"$tool" dbf dump "$co/PKSTER.DBF" --fields ROK_,MC_ > "$work/ster.csv"
grep -q '^2027,1$' "$work/ster.csv" || fail "the month was not closed: $(cat "$work/ster.csv")"
"$tool" payroll lists "$co" > "$work/after.csv"
grep -q '^2026/A/1,2026,12,A,1,2026-12-31,F,T,2026$' "$work/after.csv" ||
    fail "the closed month's list: $(cat "$work/after.csv")"
echo "payroll month typed test passed"
