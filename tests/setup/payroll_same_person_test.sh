#!/usr/bin/env bash
# One person on two register records (the same PESEL), each paid 25,000.00
# a month on the lists "A" of January to July 2026: the annual cap of the
# pension and disability base (282,600) and the tax threshold (120,000)
# count the person's income on both records, the earlier lists and the
# other record on the same list alike. The first record is computed before
# the second; the expected amounts are computed here in whole grosze.
set -euo pipefail
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
co="$work/DEMO.PK"
"$tool" demo "$work" --now "2026-01-08 09:30" > /dev/null
run() { "$@" > /dev/null 2> "$work/err" || fail "$*: $(cat "$work/err")"; }

for kind in 0001 0004 0006; do
    "$tool" dbf dump "$co/PKRDOCH.DBF" --fields TYTUL_WYP | grep -qx "$kind" ||
        run "$tool" table append "$co" PKRDOCH TYTUL_WYP=$kind NAZWA_=Dochody PODAT_=T KOSZT_=T \
            KUMUL_=T
done
# The register refuses a second record of a PESEL it has: the second comes
# in with another number and is given the first one's (scrambled) PESEL.
cat > "$work/in.csv" <<'CSV'
NR_PRAC;NAZWISKO;IMIONA;PESEL;DATA_URODZ;PLEC_;DATA_ZATR;DATA_OB_UB;DATA_OB_UZ;WIE_ULG_PD;ST_PODST;GRUPA_KAL
000101;Podwójny;Jan;80040412345;1980-04-04;M;2025-01-01;2025-01-01;2025-01-01;1;25000.00;01
000102;Podwójny;Jan;80040412346;1980-04-04;M;2025-01-01;2025-01-01;2025-01-01;1;25000.00;01
CSV
"$tool" employee import "$co" "$work/in.csv" > /dev/null 2>&1 || fail "import"
pesel=$("$tool" dbf dump "$co/PKPRAC.DBF" --fields NR_PRAC,PESELX_ | awk -F, '$1 == "000101" { print $2 }')
run "$tool" table set "$co" PKPRAC --where NR_PRAC=000102 "PESELX_=$pesel"

rate() { echo $((($1 * $2 + 5000) / 10000)); }
zloty() { echo $((($1 + 50) / 100)); }
zl() { printf '%d.%02d' $(($1 / 100)) $(($1 % 100)); }
amount() { # employee component
    "$tool" payroll positions "$co" --employee "$1" |
        awk -F, -v c="$2" '$3 == c { a = $5 } END { print (a == "" ? "0.00" : a) }'
}

gross=2500000 cap=28260000 threshold=120000
base_so_far=0 taxed_so_far=0 failures=0
last_day=(0 31 28 31 30 31 30 31)
for month in $(seq 1 7); do
    mm=$(printf '%02d' "$month")
    [ "$month" = 1 ] || run "$tool" payroll open "$co" --symbol A --paid "2026-$mm-${last_day[$month]}"
    run "$tool" payroll recalc "$co"
    for nr in 000101 000102; do
        capped=$((cap - base_so_far))
        [ "$capped" -gt 0 ] || capped=0
        [ "$capped" -le "$gross" ] || capped=$gross
        pension=$(rate $capped 976) disability=$(rate $capped 150) sickness=$(rate $gross 245)
        social=$((pension + disability + sickness))
        taxbase=$(zloty $((gross - social - 25000)))
        if [ $((taxed_so_far + taxbase)) -le $threshold ]; then
            tax=$((taxbase * 12))
        elif [ "$taxed_so_far" -ge $threshold ]; then
            tax=$((taxbase * 32))
        else
            tax=$(((threshold - taxed_so_far) * 12 + (taxed_so_far + taxbase - threshold) * 32))
        fi
        advance=$(($(zloty $((tax - 30000))) * 100))
        for pair in EMER=$pension RENT=$disability RENF=$(rate $capped 650) \
            PODS=$((taxbase * 100)) ZALI=$advance; do
            c=${pair%%=*} want=$(zl "${pair#*=}")
            got=$(amount $nr "$c")
            if [ "$got" != "$want" ]; then
                echo "FAIL: month $mm employee $nr: $c $got, expected $want"
                failures=$((failures + 1))
            fi
        done
        base_so_far=$((base_so_far + gross))
        taxed_so_far=$((taxed_so_far + taxbase))
    done
    run "$tool" payroll close "$co"
    run "$tool" tax transfer "$co"
    run "$tool" insurance transfer "$co"
    run "$tool" payroll close-month "$co"
done
[ "$failures" = 0 ] || fail "$failures amounts differ"
echo "payroll same person test passed"
