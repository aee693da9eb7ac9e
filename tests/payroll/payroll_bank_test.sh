#!/usr/bin/env bash
# The bank file of the demo month through kestrel-tool: the shipped Elixir-O
# layout writes one line per employee with an account and net pay, the
# amount in grosze equal to the employee's DOWY, both accounts passing the
# NRB check digits; an existing file is refused unless replaced; a bad
# account stops the run and leaves no file.
set -euo pipefail
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
co="$work/DEMO.PK"
out="$work/ror"
mkdir -p "$out"
"$tool" demo "$work" --now "2026-12-10 09:30" > /dev/null

# The NRB check of the script itself: modulo 97 of the digits with "PL"
# (2521) and the check digits moved to the end, computed in pieces.
nrb_ok() {
    local n="$1"
    [[ "$n" =~ ^[0-9]{26}$ ]] || return 1
    local s="${n:2}2521${n:0:2}" r=0 i piece
    for ((i = 0; i < ${#s}; i += 7)); do
        piece="${s:i:7}"
        r=$(( (r * 10**${#piece} + 10#$piece) % 97 ))
    done
    [ "$r" = 1 ]
}
nrb_ok 61109010140000071219812874 || fail "the script's own check"
! nrb_ok 61109010140000071219812875 || fail "the script's own check of a bad one"

summary=$("$tool" payroll bank "$co" --out "$out") || fail "bank run"
file="EL261231.PLI"
[ -f "$out/$file" ] || fail "no $file: $(ls "$out")"
[ "$(ls "$out")" = "$file" ] || fail "other files left: $(ls "$out")"

# The net pay of the month by employee, in grosze.
declare -A net
while IFS=, read -r list employee component _ amount _; do
    [ "$component" = DOWY ] || continue
    net[$employee]=$(( 10#${amount/./} ))
done < <("$tool" payroll positions "$co" | tail -n +2)
[ "${#net[@]}" -gt 0 ] || fail "no net pay in the demo month"

# The accounts by employee.
declare -A account
while IFS=, read -r employee nr; do account[$employee]="$nr"; done \
    < <("$tool" dbf dump "$co/PKPRAC.DBF" --fields NR_PRAC,NR_KONT | tail -n +2)

lines=0 total=0
declare -A seen
while IFS= read -r line; do
    line="${line%$'\r'}"
    IFS=, read -r kind date amount obank zero oacc racc _ <<< "$line"
    oacc="${oacc//\"/}" racc="${racc//\"/}"
    [ "$kind" = 110 ] || fail "kind: $line"
    [ "$date" = 20261231 ] || fail "date: $line"
    [ "$zero" = 0 ] || fail "field 5: $line"
    nrb_ok "$oacc" || fail "ordering account $oacc"
    [ "$obank" = "${oacc:2:8}" ] || fail "ordering bank $obank"
    nrb_ok "$racc" || fail "recipient account $racc"
    employee=""
    for e in "${!account[@]}"; do [ "${account[$e]}" = "$racc" ] && employee="$e"; done
    [ -n "$employee" ] || fail "account of nobody: $racc"
    [ -z "${seen[$employee]:-}" ] || fail "$employee paid twice"
    seen[$employee]=1
    [ "$amount" = "${net[$employee]:-none}" ] || fail "$employee: $amount, net ${net[$employee]:-none}"
    [ "$(awk -F'","' '{print NF}' <<< "$line")" -ge 5 ] || fail "fields: $line"
    lines=$((lines + 1)) total=$((total + amount))
done < "$out/$file"

# Every employee with net pay above 0 and an account got his line.
expected=0
for e in "${!net[@]}"; do
    [ "${net[$e]}" -gt 0 ] && [ -n "${account[$e]:-}" ] && expected=$((expected + 1))
done
[ "$lines" = "$expected" ] || fail "lines $lines, expected $expected"
[ "$summary" = "$file,$lines,$((total / 100)).$(printf %02d $((total % 100)))" ] \
    || fail "summary: $summary"

# A second run does not overwrite the file unless told to.
status=0; "$tool" payroll bank "$co" --out "$out" 2> "$work/err" || status=$?
[ "$status" = 1 ] && grep -q "Istnieje plik: $file" "$work/err" || fail "existing file: $status"
"$tool" payroll bank "$co" --out "$out" --replace > /dev/null || fail "replace"

# A bad account stops the run naming the employee, and no file remains.
first=$(printf '%s\n' "${!seen[@]}" | sort | head -1)
"$tool" table set "$co" PKPRAC --where NR_PRAC="$first" NR_KONT=61109010140000071219812875 \
    > /dev/null || fail "bad account"
rm -f "$out/$file"
status=0; "$tool" payroll bank "$co" --out "$out" 2> "$work/err" || status=$?
[ "$status" = 1 ] || fail "bad account: exit $status"
grep -q "Błędny Nr rachunku pracownika $first" "$work/err" || fail "message: $(cat "$work/err")"
[ -z "$(ls "$out")" ] || fail "files after a failed run: $(ls "$out")"
echo "ok: $lines payments"
