#!/usr/bin/env bash
# The health contribution of low pay against the tax advance of the rules in
# force on 31 December 2021: 17 % of the tax base less 43.76 with PIT-2,
# rounded to the zloty, compared before any deduction of the health
# contribution itself (the 7.75 % of the health base of those rules is not
# taken off the advance), and at 17 % also after the rate of the scale fell
# to 12 % in July 2022. The expected amounts are computed here in grosze from
# the gross pay, independently of the setup's formulas; each case is chosen
# so that taking the 7.75 % off (or comparing at 12 %) gives another amount.
set -euo pipefail
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
failures=0

# Grosze times a rate in hundredths of a percent, rounded half up; grosze
# to whole zloty, rounded half up.
rate() { echo $((($1 * $2 + 5000) / 10000)); }
zloty() { echo $((($1 + 50) / 100)); }
zl() { printf '%d.%02d' $(($1 / 100)) $(($1 % 100)); }
amount() { # company component
    "$tool" payroll positions "$1" --employee 000101 |
        awk -F, -v c="$2" '$3 == c { a = $5 } END { print (a == "" ? "0.00" : a) }'
}

header="NR_PRAC;NAZWISKO;IMIONA;PESEL;DATA_URODZ;PLEC_;DATA_ZATR;DATA_OB_UB;DATA_OB_UZ;ULGA_P_D;WIE_ULG_PD;BEZ_ZAL_PD;PDOF_26;RODZ_ZATR;ST_PODST;ETAT_L;ETAT_M;GRUPA_KAL;RODZ_PL"

check() { # name month gross-in-grosze reduced(yes/no)
    local name="$1" month="$2" gross="$3" reduced="$4"
    local root="$work/$name"
    mkdir -p "$root"
    "$tool" demo "$root" --now "$month-08 09:30" > /dev/null || fail "$name: demo"
    local co="$root/DEMO.PK"
    printf '%s\n000101;Nowak;Anna;;1985-02-01;K;2021-03-01;2021-03-01;2021-03-01;T;1;N;N;P;%s;1;1;01;01\n' \
        "$header" "$(zl "$gross")" > "$root/in.csv"
    "$tool" employee import "$co" "$root/in.csv" > /dev/null 2> "$root/err" ||
        fail "$name: import: $(cat "$root/err")"
    "$tool" payroll recalc "$co" > /dev/null 2> "$root/err" || fail "$name: recalc: $(cat "$root/err")"

    local social health_base full taxbase advance21 health
    social=$(($(rate "$gross" 976) + $(rate "$gross" 150) + $(rate "$gross" 245)))
    health_base=$((gross - social))
    full=$(rate $health_base 900)
    taxbase=$(zloty $((gross - social - 25000)))            # zloty
    advance21=$(($(zloty $((taxbase * 17 - 4376))) * 100)) # grosze
    [ "$advance21" -gt 0 ] || advance21=0
    health=$full
    [ "$advance21" -ge "$full" ] || health=$advance21
    # The case must be the one it says it is.
    if [ "$reduced" = yes ]; then [ "$health" -lt "$full" ] || fail "$name: not reduced"
    else [ "$health" = "$full" ] || fail "$name: reduced"; fi

    local c want got
    for c in ZDRO PZDR PODS; do
        case $c in
            ZDRO) want=$(zl "$health") ;;
            PZDR) want=$(zl "$health_base") ;;
            PODS) want="$taxbase.00" ;;
        esac
        got=$(amount "$co" "$c")
        if [ "$got" != "$want" ]; then
            echo "FAIL: $name: $c $got, expected $want"
            failures=$((failures + 1))
        fi
    done
}

# Half of the 2022 minimum wage: 9 % of 1298.66 = 116.88 stays below the
# advance of 134.57 -> 135 (with the 7.75 % taken off it would be 34).
check half2022 2022-03 150500 no
# 900.00 in September 2022: the advance at 17 % is 45.83 -> 46, below the
# 69.89 of 9 % (at 12 % it would be 19, with the 7.75 % taken off 0).
check low2022 2022-09 90000 yes
# A quarter of the 2026 minimum wage: 93.31 reduced to 133.79 - 43.76 ->
# 90 (with the 7.75 % taken off: 10).
check quarter2026 2026-01 120150 yes
# Half of the 2026 minimum wage: 186.62, below the advance of 266 (with the
# 7.75 % taken off it would be reduced to 106).
check half2026 2026-01 240300 no

[ "$failures" = 0 ] || fail "$failures amounts differ"
echo "payroll health 2021 rule test passed"
