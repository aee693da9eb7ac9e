#!/usr/bin/env bash
# The shipped payroll setup against worked cases: each employee comes in
# through `kestrel-tool employee import` into the demo company of the
# case's month, the open list is recalculated and the employee's positions
# are compared to the grosz, every role of data/payroll/roles.csv by the
# component the file names for it (a role without a position is 0.00).
#
# Cases: the minimum wage of 2026 and half time at the minimum wage of 2025
# (the public worked cases), amounts whose contributions end in half a
# grosz, an employee under 26, a commuter without PIT-2, one with half the
# reducing amount (1/24), one without an advance (BEZ_ZAL_PD), and an
# employee over 60 (no Labour Fund or FGSP).
set -euo pipefail
tool="$1"
roles="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
failures=0

# The amount of a component of one employee on the open list; 0.00 when the
# list has no such position.
amount() { # company employee component
    "$tool" payroll positions "$1" --employee "$2" |
        awk -F, -v c="$3" '$3 == c { a = $5 } END { print (a == "" ? "0.00" : a) }'
}
component() { # role
    awk -F, -v r="$1" '$1 == r { print $2 }' "$roles"
}
[ "$(awk -F, 'NR > 1' "$roles" | wc -l)" = 16 ] || fail "roles.csv: not 16 roles"

header="NR_PRAC;NAZWISKO;IMIONA;PESEL;DATA_URODZ;PLEC_;DATA_ZATR;DATA_OB_UB;DATA_OB_UZ;ULGA_P_D;WIE_ULG_PD;BEZ_ZAL_PD;PDOF_26;RODZ_ZATR;ST_PODST;ETAT_L;ETAT_M;GRUPA_KAL;RODZ_PL"
# A case: the month of the demo company, the register row (after NR_PRAC)
# and the expected amounts of the roles in the order below.
order="gross pension_ee disability_ee sickness_ee health costs tax_base tax_advance ppk_ee ppk_er net pension_er disability_er accident_er fp fgsp"
check_case() { # name month row expected...
    local name="$1" month="$2" row="$3"
    shift 3
    local root="$work/$name"
    mkdir -p "$root"
    "$tool" demo "$root" --now "$month-08 09:30" > /dev/null || fail "$name: demo"
    local co="$root/DEMO.PK"
    printf '%s\n000101;%s\n' "$header" "$row" > "$root/in.csv"
    "$tool" employee import "$co" "$root/in.csv" > /dev/null 2> "$root/err" ||
        fail "$name: import: $(cat "$root/err")"
    "$tool" payroll recalc "$co" > /dev/null 2> "$root/err" || fail "$name: recalc: $(cat "$root/err")"
    local role want got
    for role in $order; do
        want="$1"
        shift
        got=$(amount "$co" 000101 "$(component "$role")")
        if [ "$got" != "$want" ]; then
            echo "FAIL: $name: $role ($(component "$role")) $got, expected $want"
            failures=$((failures + 1))
        fi
    done
}

# Nowak;Anna;... : surname, names, PESEL, birth, sex, hired, insured
# from (twice), PIT-2, its size, no advance, under-26 exemption, kind of
# employment, rate, fraction, calendar group, kind of pay.
person() { # birth pit2 size no_advance young kind rate l m [sex]
    echo "Nowak;Anna;;$1;${10:-K};2024-03-01;2024-03-01;2024-03-01;$2;$3;$4;$5;$6;$7;$8;$9;01;01"
}

#          gross   pens  disab  sick   health  costs tax  adv  ppke ppkr net     pens_r disab_r acc   fp     fgsp
check_case min2026 2026-01 "$(person 1990-01-15 T 1 N N P 4806.00 1 1)" \
    4806.00 469.07 72.09 117.75 373.24 250.00 3897.00 168.00 0.00 0.00 3605.85 469.07 312.39 80.26 117.75 4.81
check_case half2025 2025-06 "$(person 1990-01-15 T 1 N N P 4666.00 1 2)" \
    2333.00 227.70 35.00 57.16 181.18 250.00 1763.00 0.00 0.00 0.00 1831.96 227.70 151.65 38.96 0.00 2.33
# 4030 x 2.45 % = 98.735; 4001 x 6.5 % = 260.065: up to the next grosz.
check_case trap4030 2026-01 "$(person 1990-01-15 T 1 N N P 4030.00 1 1)" \
    4030.00 393.33 60.45 98.74 312.97 250.00 3227.00 87.00 0.00 0.00 3077.51 393.33 261.95 67.30 0.00 4.03
check_case trap4001 2026-01 "$(person 1990-01-15 T 1 N N P 4001.00 1 1)" \
    4001.00 390.50 60.02 98.02 310.72 250.00 3202.00 84.00 0.00 0.00 3057.74 390.50 260.07 66.82 0.00 4.00
# 4003 x 1.5 % = 60.045; 4150 x 1.67 % = 69.305.
check_case trap4003 2026-01 "$(person 1990-01-15 T 1 N N P 4003.00 1 1)" \
    4003.00 390.69 60.05 98.07 310.88 250.00 3204.00 84.00 0.00 0.00 3059.31 390.69 260.20 66.85 0.00 4.00
check_case trap4150 2026-01 "$(person 1990-01-15 T 1 N N P 4150.00 1 1)" \
    4150.00 405.04 62.25 101.68 322.29 250.00 3331.00 100.00 0.00 0.00 3158.74 405.04 269.75 69.31 0.00 4.15
# Under 26 with the exemption: no costs, no tax base, no advance; the
# health contribution is not reduced.
check_case young 2026-01 "$(person 2003-05-10 T 1 N T P 6000.00 1 1)" \
    6000.00 585.60 90.00 147.00 465.97 0.00 0.00 0.00 0.00 0.00 4711.43 585.60 390.00 100.20 147.00 6.00
# A commuter (300 of costs) who filed no PIT-2.
check_case commuter 2026-01 "$(person 1985-02-01 N 1 N N D 6000.00 1 1)" \
    6000.00 585.60 90.00 147.00 465.97 300.00 4877.00 585.00 0.00 0.00 4126.43 585.60 390.00 100.20 147.00 6.00
# Half the reducing amount (1/24: 150).
check_case split 2026-01 "$(person 1985-02-01 T 2 N N P 6000.00 1 1)" \
    6000.00 585.60 90.00 147.00 465.97 250.00 4927.00 441.00 0.00 0.00 4270.43 585.60 390.00 100.20 147.00 6.00
# No advance at the employee's request.
check_case noadvance 2026-01 "$(person 1985-02-01 T 1 T N P 6000.00 1 1)" \
    6000.00 585.60 90.00 147.00 465.97 250.00 4927.00 0.00 0.00 0.00 4711.43 585.60 390.00 100.20 147.00 6.00
# A man over 60: no Labour Fund and no FGSP.
check_case senior 2026-01 "$(person 1960-01-10 T 1 N N P 6000.00 1 1 M)" \
    6000.00 585.60 90.00 147.00 465.97 250.00 4927.00 291.00 0.00 0.00 4420.43 585.60 390.00 100.20 0.00 0.00

[ "$failures" = 0 ] || fail "$failures amounts differ"
echo "payroll cases test passed"
