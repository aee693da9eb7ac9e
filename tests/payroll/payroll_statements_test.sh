#!/usr/bin/env bash
# The monthly summary by cost accounts and the PFRON posts statement of the
# demo month through kestrel-tool: the gross pay and the head count of every
# account must be those of the list's positions of its employees; the
# posts statement must count a certificate that ends mid-month for its days
# only, and once the company reaches 25 posts, the levy on the missing ones.
set -euo pipefail
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
co="$work/DEMO.PK"
"$tool" demo "$work" --now "2026-12-08 09:30" > /dev/null

# The gross pay (BRUT) and employees of each account, from the positions.
"$tool" payroll positions "$co" --list 2026/A/1 > "$work/positions.csv"
"$tool" dbf dump "$co/PKPRAC.DBF" --fields NR_PRAC,KONTO_KOSZ > "$work/accounts.csv"
awk -F, 'NR == FNR { if (FNR > 1) account[$1] = $2; next }
         FNR > 1 && $3 == "BRUT" { a = substr(account[$2], 1, 3); sum[a] += $5 * 100; n[a]++ }
         END { for (a in sum) printf "%s %d %d\n", a, sum[a] + 0.5, n[a] }' \
    "$work/accounts.csv" "$work/positions.csv" | sort > "$work/want"
[ "$(wc -l < "$work/want")" -ge 3 ] || fail "the demo has fewer than 3 accounts"
# grosze -> "@E" (11.907,14)
shown() { printf '%d,%02d' $(($1 / 100)) $(($1 % 100)) | sed ':a;s/\B[0-9]\{3\}\>/.&/;ta'; }

printed=$("$tool" payroll cost-accounts "$co" --month 2026-12 --chars 3 "$work/k.prt") \
    || fail "cost-accounts"
tr -d '\r\f' < "$work/k.prt" | iconv -f CP852 -t UTF-8 > "$work/k.txt"
total=0
count=0
while read -r account grosze employees; do
    line=$(grep -A1 "^Konto $account:" "$work/k.txt" | tail -1)
    read -r -a values <<< "$line"
    [ "${values[0]}" = "$(shown "$grosze")" ] || fail "account $account: ${values[0]}, want $(shown "$grosze")"
    [ "${values[-1]}" = "$employees" ] || fail "account $account: ${values[-1]} employees, want $employees"
    total=$((total + grosze))
    count=$((count + employees))
done < "$work/want"
[ "$printed" = "$count" ] || fail "$printed employees printed, $count on the list"
read -r -a values <<< "$(grep -A1 '^RAZEM:' "$work/k.txt" | tail -1)"
[ "${values[0]}" = "$(shown "$total")" ] || fail "RAZEM ${values[0]}, want $(shown "$total")"
# The PDF of the same.
if command -v pdftotext > /dev/null; then
    "$tool" payroll cost-accounts "$co" --month 2026-12 --chars 3 "$work/k.pdf" > /dev/null \
        || fail "cost-accounts pdf"
    pdftotext -layout "$work/k.pdf" - | grep -q "Konto 520:" || fail "the PDF without its accounts"
fi
# A month without lists, a wrong month.
status=0; "$tool" payroll cost-accounts "$co" --month 2026-11 "$work/x.prt" 2> "$work/err" \
    > /dev/null || status=$?
[ "$status" = 1 ] && grep -q "Brak list płac w podanym okresie" "$work/err" || fail "no lists"
[ ! -e "$work/x.prt" ] || fail "a refused printout left its file"
status=0; "$tool" payroll cost-accounts "$co" --month 2026-13 "$work/x.prt" 2> /dev/null || status=$?
[ "$status" = 2 ] || fail "month 13 accepted"

# Posts: a moderate certificate ending on 15 December (15/31 of a post), a
# severe one of the half-time employee 000010 without end.
"$tool" table set "$co" PKPRAC --where NR_PRAC=000003 TYTUL_STNP=2 DATA_INW=20200101 \
    DAT_INW_DO=20261215 > /dev/null
"$tool" table set "$co" PKPRAC --where NR_PRAC=000010 TYTUL_STNP=3 DATA_INW=20200101 > /dev/null
got=$("$tool" payroll pfron "$co" --month 2026-12 --average 8500 "$work/p.prt") || fail "pfron"
[ "$got" = "11.500 0.984 8.56 0" ] || fail "posts: $got"
tr -d '\r\f' < "$work/p.prt" | iconv -f CP852 -t UTF-8 > "$work/p.txt"
grep -q "nie dotyczy (poniżej 25 etatów)" "$work/p.txt" || fail "no levy below 25 posts"
# 14 more full posts: 25.5 posts, 1.53 needed, 0.546 missing.
for n in $(seq 101 114); do
    "$tool" table append "$co" PKPRAC NR_PRAC=000$n DATA_ZATR=20200101 ETAT_L=1 ETAT_M=1 \
        > /dev/null
done
got=$("$tool" payroll pfron "$co" --month 2026-12 --average 8500 "$work/p.prt") || fail "pfron"
[ "$got" = "25.500 0.984 3.86 1887" ] || fail "levy: $got"
tr -d '\r\f' < "$work/p.prt" | iconv -f CP852 -t UTF-8 > "$work/p.txt"
grep -q "^Wpłata na PFRON: *1.887,00$" "$work/p.txt" || fail "the levy printed"
echo OK
