#!/usr/bin/env bash
# The payroll printouts of the demo month through kestrel-tool: the control
# list shows each employee's net pay as the list's positions hold it (DOWY,
# which the demo computes as the pay less the deductions), and its total;
# the annual export holds the positions of December per employee and
# component, and leaves no work file behind.
set -euo pipefail
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
co="$work/DEMO.PK"
"$tool" demo "$work" --now "2026-12-08 09:30" > /dev/null

"$tool" payroll positions "$co" > "$work/positions.csv"
"$tool" payroll control "$co" --date 2026-12-10 "$work/control.prt" || fail "control list"
# The print file as text: control sequences out, CP852 to UTF-8.
iconv -f CP852 -t UTF-8 "$work/control.prt" | tr -d '\r' | tr '\f' '\n' | sed 's/\x1b.//g' > "$work/control.txt"
grep -q "Data wydruku: 2026-12-10" "$work/control.txt" || fail "print date"
grep -q "Kontrolny wydruk listy płac" "$work/control.txt" || fail "title"

# Each employee's "Do wypłaty" in list order, against DOWY of the positions.
awk -F, '$3 == "DOWY" { printf "%s %.2f\n", $2, $5 }' "$work/positions.csv" > "$work/want"
awk '/^ *[0-9]+ [0-9][0-9][0-9][0-9][0-9][0-9]  / { who = $2 }
     /Do wypłaty:/ && who != "" { v = $NF; gsub(/\./, "", v); sub(/,/, ".", v);
                                   printf "%s %.2f\n", who, v; who = "" }' \
    "$work/control.txt" > "$work/got"
[ -s "$work/want" ] || fail "no DOWY positions"
diff "$work/want" "$work/got" || fail "net pay per employee"
want_total=$(awk '{ s += $2 } END { printf "%.2f", s }' "$work/want")
got_total=$(awk '/Do wypłaty:/ { v = $NF } END { gsub(/\./, "", v); sub(/,/, ".", v); print v }' \
    "$work/control.txt")
[ "$want_total" = "$got_total" ] || fail "total $got_total, expected $want_total"
employees=$(wc -l < "$work/want")
grep -q "Razem lista, pracowników: $employees " "$work/control.txt" || fail "employee count"

# The annual export: December's positions per employee and component.
path=$("$tool" payroll annual-export "$co" --year 2026) || fail "annual export"
[ "$path" = "$co/ROCZ2026.DBF" ] || fail "export path $path"
[ ! -e "$co/ROCZ2026.TMP" ] || fail "work file left"
"$tool" dbf dump "$path" --fields NR_PRAC,SKLADN_PL,M12,ROK | tail -n +2 | sort > "$work/exported"
awk -F, 'NR > 1 { printf "%s,%s,%.2f,%.2f\n", $2, $3, $5, $5 }' "$work/positions.csv" | sort \
    > "$work/expected"
diff "$work/expected" "$work/exported" || fail "exported amounts"

# A range keeps its employees only; a bad option is a usage error.
"$tool" payroll annual-export "$co" --year 2026 --from 2 --to 3 > /dev/null || fail "range"
got=$("$tool" dbf dump "$path" --fields NR_PRAC | tail -n +2 | sort -u | tr '\n' ' ')
[ "$got" = "000002 000003 " ] || fail "range holds $got"
status=0; "$tool" payroll annual "$co" --year 2026 --type X "$work/a.prt" 2> /dev/null || status=$?
[ "$status" = 2 ] || fail "bad type: exit $status"
"$tool" payroll annual "$co" --year 2026 --type C "$work/a.prt" || fail "annual printout"
grep -q "Razem pracownicy: $employees" <(iconv -f CP852 -t UTF-8 "$work/a.prt") ||
    fail "annual summary"
echo "payroll printouts: ok"
