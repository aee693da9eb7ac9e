#!/usr/bin/env bash
# kestrel-tool dbf on copies of the reference files: struct, dump, check, and
# an index that stops matching its table until it is rebuilt.
set -euo pipefail
tool="$1"
fixtures="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$fixtures"/updated/HBTEST.dbf "$fixtures"/updated/HBTEST.dbt "$fixtures"/updated/HBTEST1.ntx \
   "$fixtures"/updated/HBTEST5.ntx "$work"/
chmod u+w "$work"/*
fail() { echo "FAIL: $*"; exit 1; }

"$tool" dbf struct "$work"/HBTEST.dbf | grep -q '^NR_PRAC    C        6   0$' || fail struct

"$tool" dbf dump "$fixtures"/sample/SAMPLE.DBF > "$work"/sample.csv
head -1 "$work"/sample.csv | grep -qx 'NR_PRAC,NAZWISKO,DATA_ZATR,ST_PODST,AKTYWNY,UWAGI' || fail dump header
grep -q '^000001,Łódź Żółć,2019-03-01,4250.50,T,"Zażółć gęślą jaźń' "$work"/sample.csv || fail dump record
grep -q '^000003' "$work"/sample.csv && fail dump shows a deleted record
"$tool" dbf dump "$fixtures"/sample/SAMPLE.DBF --deleted | grep -q '^\*,000003,Usunięty' || fail dump --deleted

# In index order the first column is sorted.
"$tool" dbf dump "$work"/HBTEST.dbf --index "$work"/HBTEST1.ntx | tail -n +2 | cut -d, -f1 > "$work"/keys
sort -c "$work"/keys || fail dump not in index order
[ "$(wc -l < "$work"/keys)" -gt 3000 ] || fail dump too short

"$tool" dbf check "$work"/HBTEST.dbf "$work"/HBTEST1.ntx "$work"/HBTEST5.ntx > /dev/null || fail check of good indexes

# Change the key field of record 10 behind the index's back.
hlen=$(od -An -tu2 -j8 -N2 "$work"/HBTEST.dbf | tr -d ' ')
rlen=$(od -An -tu2 -j10 -N2 "$work"/HBTEST.dbf | tr -d ' ')
printf 'ZZZZZZ' | dd of="$work"/HBTEST.dbf bs=1 seek=$((hlen + 9 * rlen + 1)) conv=notrunc status=none
set +e
out=$("$tool" dbf check "$work"/HBTEST.dbf "$work"/HBTEST1.ntx)
rc=$?
set -e
[ $rc -eq 1 ] || fail "check of a stale index exited $rc"
echo "$out" | grep -q 'record 10' || fail "check message: $out"

"$tool" dbf index "$work"/HBTEST.dbf "$work"/HBTEST1.ntx NR_PRAC || fail rebuild
"$tool" dbf index "$work"/HBTEST.dbf "$work"/HBTEST9.ntx NR_PRAC --for '!Empty(DATA_ZATR)' || fail index --for
"$tool" dbf check "$work"/HBTEST.dbf "$work"/HBTEST1.ntx "$work"/HBTEST9.ntx > /dev/null || fail check after rebuild
"$tool" dbf dump "$work"/HBTEST.dbf --index "$work"/HBTEST1.ntx | tail -1 | grep -q '^ZZZZZZ,' || fail rebuilt order
set +e
"$tool" dbf struct "$work"/missing.dbf 2> /dev/null
[ $? -eq 1 ] || fail "missing table"
"$tool" dbf bogus 2> /dev/null
[ $? -eq 2 ] || fail "usage"
set -e
echo "kestrel-tool dbf: all checks passed"
