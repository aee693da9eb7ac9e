#!/usr/bin/env bash
# A payroll year of the demo company through kestrel-tool: the base pay is
# income of a cumulative kind, and a component NARA = SUMADOCH("1") takes
# the income of the earlier months of the year from the tax records. Each
# month the list is opened, recalculated, closed, transferred to the tax and
# insurance records and the month closed; NARA must equal the pay the script
# itself set in the earlier months, and the transferred records of those
# months. At the end PKDOCH holds the twelve months.
set -euo pipefail
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
co="$work/DEMO.PK"
"$tool" demo "$work" --now "2026-01-08 09:30" > /dev/null

"$tool" table append "$co" PKRDOCH TYTUL_WYP=1 NAZWA_=Wynagrodzenie PODAT_=T KOSZT_=T \
    KUMUL_=T > /dev/null || fail "income kind"
# The income kinds of the shipped components, where the company lacks them.
for kind in 0001 0004 0006; do
    "$tool" dbf dump "$co/PKRDOCH.DBF" --fields TYTUL_WYP | grep -qx "$kind" ||
        "$tool" table append "$co" PKRDOCH TYTUL_WYP=$kind NAZWA_=Dochody PODAT_=T KOSZT_=T \
            KUMUL_=T > /dev/null || fail "income kind $kind"
done
"$tool" table set "$co" PKSPL --where SKLADN_PL=ZASD TYTUL_WYP=1 NAZWA_POLA=PRZYCHOD_ \
    > /dev/null || fail "ZASD income field"
"$tool" table append "$co" PKSPL SKLADN_PL=NARA "NAZWA_=Przychód narastająco" TYP_=A \
    SEKW_OBL=80 IL_MC_WST=0 POTRAC_=F POZA_LISTA=T TYP_LISTY=A DRUK_=T SEKW_WYDR=80 \
    'ALGORYTM_=SUMADOCH("1")' > /dev/null || fail "NARA component"
# The writes keep the table's indexes; a wrong field or no matching record
# is refused.
for ntx in "$co"/PKSPL*.NTX "$co"/PKRDOCH*.NTX; do
    "$tool" dbf check "${ntx%%[0-9].NTX}.DBF" "$ntx" > /dev/null || fail "index $ntx"
done
status=0; "$tool" table set "$co" PKSPL --where SKLADN_PL=ZASD NIEMA=1 2> /dev/null || status=$?
[ "$status" = 2 ] || fail "unknown field: exit $status"
status=0; "$tool" table set "$co" PKSPL --where SKLADN_PL=XXXX TYP_=A > /dev/null || status=$?
[ "$status" = 1 ] || fail "no matching record: exit $status"

# The pay of a month in grosze, different every month; the sums below are
# integer arithmetic of the script, not of the program.
pay() { # employee month
    case "$1" in
        000001) echo $((1000000 + $2 * 12345)) ;;
        000002) echo $((900000 + $2 * $2 * 777)) ;;
    esac
}
zl() { printf '%d.%02d' $(($1 / 100)) $(($1 % 100)); }
# The amount of a component of one employee on the open list; 0.00 when the
# list has no such position (a zero amount is not written).
amount() { # employee component
    "$tool" payroll positions "$co" --employee "$1" |
        awk -F, -v c="$2" '$3 == c { a = $5 } END { print (a == "" ? "0.00" : a) }'
}
# PRZYCHOD_ of kind 1 transferred for an employee in months before `month`.
recorded() { # employee month
    "$tool" tax records "$co" --year 2026 --employee "$1" |
        awk -F, -v m="$2" 'NR > 1 && $7 == "1" && $4 + 0 < m + 0 { s += $8 * 100 }
                           END { printf "%d.%02d", int((s + 0.5) / 100), int(s + 0.5) % 100 }'
}

last_day=(0 31 28 31 30 31 30 31 31 30 31 30 31)
declare -A earlier=([000001]=0 [000002]=0)
for month in $(seq 1 12); do
    mm=$(printf '%02d' "$month")
    # The demo ships January's list open.
    if [ "$month" -gt 1 ]; then
        "$tool" payroll open "$co" --symbol A --paid "2026-$mm-${last_day[$month]}" > /dev/null \
            2> "$work/err" || fail "open $mm: $(cat "$work/err")"
    fi
    for nr in 000001 000002; do
        "$tool" table set "$co" PKPRAC --where NR_PRAC=$nr ST_PODST="$(zl "$(pay $nr "$month")")" \
            > /dev/null || fail "pay of $nr"
    done
    "$tool" payroll recalc "$co" > /dev/null 2> "$work/err" || fail "recalc $mm: $(cat "$work/err")"
    for nr in 000001 000002; do
        want=$(zl "${earlier[$nr]}")
        got=$(amount $nr NARA)
        [ "$got" = "$want" ] || fail "month $mm employee $nr: SUMADOCH $got, earlier pay $want"
        [ "$(recorded $nr "$month")" = "$want" ] ||
            fail "month $mm employee $nr: tax records of earlier months $(recorded $nr "$month")"
        [ "$(amount $nr ZASD)" = "$(zl "$(pay $nr "$month")")" ] || fail "month $mm pay of $nr"
        earlier[$nr]=$((earlier[$nr] + $(pay $nr "$month")))
    done
    "$tool" payroll close "$co" > /dev/null 2> "$work/err" || fail "close $mm: $(cat "$work/err")"
    "$tool" tax transfer "$co" > /dev/null 2> "$work/err" || fail "transfer $mm: $(cat "$work/err")"
    "$tool" insurance transfer "$co" > /dev/null 2> "$work/err" ||
        fail "insurance $mm: $(cat "$work/err")"
    "$tool" payroll close-month "$co" > /dev/null 2> "$work/err" ||
        fail "close-month $mm: $(cat "$work/err")"
done

# PKDOCH: one record of kind 1 a month for each employee, the year's pay.
for nr in 000001 000002; do
    "$tool" tax records "$co" --year 2026 --employee $nr > "$work/doch.csv"
    months=$(awk -F, 'NR > 1 && $7 == "1" { print $4 }' "$work/doch.csv" | sort -u | tr '\n' ' ')
    [ "$months" = "01 02 03 04 05 06 07 08 09 10 11 12 " ] || fail "PKDOCH months of $nr: $months"
    [ "$(awk -F, 'NR > 1 && $7 == "1"' "$work/doch.csv" | wc -l)" = 12 ] || fail "PKDOCH records of $nr"
    [ "$(recorded $nr 13)" = "$(zl "${earlier[$nr]}")" ] || fail "PKDOCH income of $nr"
done
echo "payroll year test passed"
