#!/usr/bin/env bash
# A payroll year of the shipped setup through the command line: one
# employee paid 25,000.00 a month from January to December 2026. Each month
# the list is opened, recalculated, closed, transferred to the tax and
# insurance records and the month closed. The cumulative tax base crosses
# 120,000 in June (12 % up to the threshold, 32 % above it, the reducing
# amount kept) and the pension and disability base reaches the annual cap
# of 282,600 in December (contributions on what remains below it). The
# expected amounts are computed here in whole grosze, month by month.
set -euo pipefail
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
co="$work/DEMO.PK"
"$tool" demo "$work" --now "2026-01-08 09:30" > /dev/null
run() { "$@" > /dev/null 2> "$work/err" || fail "$*: $(cat "$work/err")"; }

# The income kinds of the components, where the company lacks them.
for kind in 0001 0004 0006; do
    "$tool" dbf dump "$co/PKRDOCH.DBF" --fields TYTUL_WYP | grep -qx "$kind" ||
        run "$tool" table append "$co" PKRDOCH TYTUL_WYP=$kind NAZWA_=Dochody PODAT_=T KOSZT_=T \
            KUMUL_=T
done
cat > "$work/in.csv" <<'CSV'
NR_PRAC;NAZWISKO;IMIONA;DATA_URODZ;PLEC_;DATA_ZATR;DATA_OB_UB;DATA_OB_UZ;WIE_ULG_PD;ST_PODST;GRUPA_KAL;RODZ_PL
000101;Roczna;Maria;1980-04-04;K;2025-01-01;2025-01-01;2025-01-01;1;25000.00;01;01
CSV
run "$tool" employee import "$co" "$work/in.csv"

# Rounding half up of a non-negative amount in grosze times a rate in
# hundredths of a percent (976 = 9.76 %), and of grosze to whole zloty.
rate() { echo $((($1 * $2 + 5000) / 10000)); }
zloty() { echo $((($1 + 50) / 100)); }
zl() { printf '%d.%02d' $(($1 / 100)) $(($1 % 100)); }
amount() { # component
    "$tool" payroll positions "$co" --employee 000101 |
        awk -F, -v c="$1" '$3 == c { a = $5 } END { print (a == "" ? "0.00" : a) }'
}

gross=2500000 cap=28260000 threshold=120000
base_so_far=0 taxed_so_far=0 failures=0
last_day=(0 31 28 31 30 31 30 31 31 30 31 30 31)
for month in $(seq 1 12); do
    mm=$(printf '%02d' "$month")
    [ "$month" = 1 ] || run "$tool" payroll open "$co" --symbol A --paid "2026-$mm-${last_day[$month]}"
    run "$tool" payroll recalc "$co"

    capped=$((cap - base_so_far))
    [ "$capped" -gt 0 ] || capped=0
    [ "$capped" -le "$gross" ] || capped=$gross
    pension=$(rate $capped 976) disability=$(rate $capped 150) sickness=$(rate $gross 245)
    social=$((pension + disability + sickness))
    health=$(rate $((gross - social)) 900)
    taxbase=$(zloty $((gross - social - 25000)))  # zloty
    if [ $((taxed_so_far + taxbase)) -le $threshold ]; then
        tax=$((taxbase * 12))
    elif [ "$taxed_so_far" -ge $threshold ]; then
        tax=$((taxbase * 32))
    else
        tax=$(((threshold - taxed_so_far) * 12 + (taxed_so_far + taxbase - threshold) * 32))
    fi
    advance=$(($(zloty $((tax - 30000))) * 100))
    net=$((gross - social - health - advance))
    declare -A want=([BRUT]=$gross [EMER]=$pension [RENT]=$disability [CHOR]=$sickness
        [ZDRO]=$health [KOSZ]=25000 [PODS]=$((taxbase * 100)) [ZALI]=$advance [DOWY]=$net
        [EMEF]=$pension [RENF]=$(rate $capped 650) [WYPF]=$(rate $gross 167)
        [FPRA]=$(rate $gross 245) [FGSP]=$(rate $gross 10))
    for c in "${!want[@]}"; do
        got=$(amount "$c")
        if [ "$got" != "$(zl "${want[$c]}")" ]; then
            echo "FAIL: month $mm: $c $got, expected $(zl "${want[$c]}")"
            failures=$((failures + 1))
        fi
    done
    base_so_far=$((base_so_far + gross))
    taxed_so_far=$((taxed_so_far + taxbase))

    run "$tool" payroll close "$co"
    run "$tool" tax transfer "$co"
    run "$tool" insurance transfer "$co"
    run "$tool" payroll close-month "$co"
done
[ "$failures" = 0 ] || fail "$failures amounts differ"
# The tax records hold the year's income and advances of the employee.
"$tool" tax records "$co" --year 2026 --employee 000101 > "$work/doch.csv"
[ "$(awk -F, 'NR > 1 && $7 == "0001"' "$work/doch.csv" | wc -l)" = 12 ] ||
    fail "PKDOCH: not twelve months of kind 0001"
echo "payroll setup year test passed"
