#!/usr/bin/env bash
# Civil-law contracts of the shipped payroll setup through the command
# line: a contract of mandate on a list "Z" (insured by the contractor's
# insurance flags, costs 20 % of the amount less the social contributions,
# the advance at the scale's lowest rate), then on a list "D" a contract for
# specific work (no insurance, costs 20 %) and one up to 200 zl (the
# lump-sum tax, no costs). Each contractor comes in through `employee
# import`; a staff employee gets no contract amount of his own.
set -euo pipefail
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
co="$work/DEMO.PK"
"$tool" demo "$work" --now "2026-01-08 09:30" > /dev/null

# The employee's positions on the open list as "SYMBOL=amount" lines, sorted.
positions() { # employee
    "$tool" payroll positions "$co" --employee "$1" | awk -F, 'NR > 1 { print $3 "=" $5 }' | sort
}
expect() { # employee expected-lines...
    local nr="$1"
    shift
    local want
    want=$(printf '%s\n' "$@" | sort)
    [ "$(positions "$nr")" = "$want" ] || fail "employee $nr: got
$(positions "$nr")
expected
$want"
}
run() { # command...
    "$@" > /dev/null 2> "$work/err" || fail "$*: $(cat "$work/err")"
}

run "$tool" payroll close "$co"
run "$tool" payroll open "$co" --symbol Z --paid 2026-01-31
cat > "$work/z.csv" <<'CSV'
NR_PRAC;NIE_PRAC;NAZWISKO;IMIONA;DATA_URODZ;PLEC_;DATA_ZATR;CZY_OB_UE;CZY_OB_UR;CZY_OB_UW;CZY_OB_UZ;DATA_OB_UB;DATA_OB_UZ;ULGA_P_D;ST_PODST;GRUPA_KAL
000201;T;Zlecka;Ewa;1980-03-03;K;2026-01-02;T;T;T;T;2026-01-02;2026-01-02;N;3000;01
CSV
run "$tool" employee import "$co" "$work/z.csv"
run "$tool" payroll recalc "$co"
# 3000: pension 292.80, disability 45.00 (no sickness: voluntary, not
# chosen); health 9 % of 2662.20; costs 20 % of 2662.20 = 532.44; base
# 2129.76 -> 2130; advance 12 % = 255.60 -> 256; the employer's disability
# 6.5 %, accident 1.67 %, no Labour Fund below the minimum wage.
expect 000201 UZKW=3000.00 UBRU=3000.00 USKL=3000.00 UEME=292.80 UREN=45.00 \
    UKOS=532.44 UPRZ=3000.00 UPOD=2130.00 UZDR=239.60 UZAL=256.00 UDOW=2166.60 \
    UEMF=292.80 URNF=195.00 UWYF=50.10 UFGS=3.00
# A staff employee has no contract of his own on the list.
expect 000001

run "$tool" payroll close "$co"
run "$tool" payroll open "$co" --symbol D --paid 2026-01-31
run "$tool" table set "$co" PKPRAC --where NR_PRAC=000201 ST_PODST=1000
cat > "$work/d.csv" <<'CSV'
NR_PRAC;NIE_PRAC;NAZWISKO;IMIONA;DATA_URODZ;PLEC_;DATA_ZATR;ULGA_P_D;ST_PODST;GRUPA_KAL;CZY_OB_UE;CZY_OB_UR;CZY_OB_UC;CZY_OB_UW;CZY_OB_UZ
000202;T;Drobna;Ola;1980-03-03;K;2026-01-02;N;150;01;N;N;N;N;N
CSV
run "$tool" employee import "$co" "$work/d.csv"
run "$tool" payroll recalc "$co"
# Specific work of 1000, though the contractor is insured on mandates: no
# contributions, costs 200, advance 12 % of 800.
expect 000201 UZKW=1000.00 UBRU=1000.00 UKOS=200.00 UPRZ=1000.00 UPOD=800.00 \
    UZAL=96.00 UDOW=904.00
# 150 is taxed by the lump sum: 12 % = 18, no costs, income of its own kind.
expect 000202 UZKW=150.00 UBRU=150.00 URPR=150.00 UPOD=150.00 URYC=18.00 UDOW=132.00
echo "payroll contracts test passed"
