#!/usr/bin/env bash
# The payroll printouts of an archived year through kestrel-tool. The demo
# month's list and positions are copied into ARCH2025 as a list of December
# 2025 (the archive's indexes are built when it is first read); then:
# the list prints from the archive as the working one prints, a period over
# both years sums both, the annual summary of 2025 comes from the archive,
# more than 25 archives and an archive without its lists are refused.
set -euo pipefail
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
co="$work/DEMO.PK"
"$tool" demo "$work" --now "2026-12-08 09:30" > /dev/null
text() { iconv -f CP852 -t UTF-8 "$1" | tr -d '\r' | sed 's/\x1b.//g'; }

# December 2026 copied into the archive as December 2025.
for t in PKPLACE PKLISTY; do "$tool" table set "$co" $t --where ROK_LST=2026 ROK_LST=2025 > /dev/null; done
mkdir "$co/ARCH2025"
cp "$co/PKLISTY.DBF" "$co/PKPLACE.DBF" "$co/ARCH2025/"
for t in PKPLACE PKLISTY; do "$tool" table set "$co" $t --where ROK_LST=2025 ROK_LST=2026 > /dev/null; done

"$tool" payroll print "$co" --list 2026/A/1 --layout B "$work/working.prt" > /dev/null || fail "working list"
status=0
"$tool" payroll print "$co" --list 2025/A/1 --layout B "$work/none.prt" 2> /dev/null || status=$?
[ "$status" = 1 ] || fail "an archived list found in the working tables: exit $status"
"$tool" payroll print "$co" --list 2025/A/1 --layout B --archive 2025 "$work/archived.prt" \
    > /dev/null || fail "archived list"
[ -e "$co/ARCH2025/PKPLACE1.NTX" ] || fail "archive indexes not built"
diff <(text "$work/working.prt" | sed 's|/12/2026 |/12/YYYY |') \
     <(text "$work/archived.prt" | sed 's|/12/2025 |/12/YYYY |') > /dev/null ||
    fail "the archived list prints otherwise than the working one"
status=0
"$tool" payroll print "$co" --list 2025/A/1 --layout B --archive 2024 "$work/x.prt" 2> /dev/null ||
    status=$?
[ "$status" = 1 ] || fail "a missing archive: exit $status"

# A period over both years: every amount twice; without the archives once.
"$tool" payroll summary "$co" --matrix OKRS --from 2025-12 --to 2026-12 --archives "$work/both.prt" \
    > /dev/null || fail "period with archives"
"$tool" payroll summary "$co" --matrix OKRS --from 2025-12 --to 2026-12 "$work/one.prt" > /dev/null ||
    fail "period without archives"
first() { text "$1" | awk '/^RAZEM:/ { getline; v = $1; gsub(/\./, "", v); sub(/,/, ".", v); print v }'; }
one=$(first "$work/one.prt")
both=$(first "$work/both.prt")
[ -n "$one" ] || fail "no total"
[ "$(awk -v a="$one" 'BEGIN { printf "%.2f", 2 * a }')" = "$(awk -v a="$both" 'BEGIN { printf "%.2f", a }')" ] ||
    fail "period total $both, expected twice $one"

# The annual summary of 2025 from the archive only.
status=0
"$tool" payroll annual "$co" --year 2025 --type B "$work/y.prt" 2> /dev/null || status=$?
[ "$status" = 1 ] || fail "2025 without archives: exit $status"
"$tool" payroll annual "$co" --year 2025 --type B --archives "$work/y.prt" || fail "annual of 2025"
employees=$("$tool" payroll positions "$co" | awk -F, 'NR > 1 { print $2 }' | sort -u | wc -l)
grep -q "Razem pracownicy: $employees" <(text "$work/y.prt") || fail "annual summary of 2025"

# An archive without its lists: a message, nothing created there.
mv "$co/ARCH2025/PKLISTY.DBF" "$work/"
err=$("$tool" payroll print "$co" --list 2025/A/1 --layout B --archive 2025 "$work/x.prt" 2>&1 >/dev/null) &&
    fail "printed without the archive's lists"
[ "$err" = "Brak pliku ARCH2025/PKLISTY.DBF" ] || fail "message: $err"
[ ! -e "$co/ARCH2025/PKLISTY.DBF" ] || fail "the archive's lists were created"
mv "$work/PKLISTY.DBF" "$co/ARCH2025/"

# 26 archive directories are more than the printouts search.
for y in $(seq 1995 2019); do mkdir "$co/ARCH$y" && cp "$co/ARCH2025/PKPLACE.DBF" "$co/ARCH$y/"; done
err=$("$tool" payroll summary "$co" --matrix OKRS --from 2025-12 --to 2026-12 --archives "$work/z.prt" \
    2>&1 >/dev/null) && fail "26 archives searched"
[ "$err" = "Ponad 25 katalogów archiwalnych" ] || fail "message: $err"
echo "payroll archive printouts: ok"
