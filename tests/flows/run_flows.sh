#!/usr/bin/env bash
# Runs every key script in cases/ through the program and compares the
# screens it writes with the expected ones.
#
#   cases/NAME.keys        the key script
#   cases/NAME.args        extra command-line arguments (optional, one line)
#   cases/NAME.exit        expected exit status (optional; default 3: script ran out)
#   cases/NAME.setup       shell commands run in the program directory first (optional;
#                          $TOOL is kestrel-tool)
#
# Every flow runs in a fresh program directory holding the demo company
# DEMO.PK; give "DEMO" in NAME.args to start on it.
#   cases/NAME/SCREEN.txt  expected screens ({screen SCREEN} and final)
#   cases/NAME.tables      tables to compare after the flow (optional), one per line:
#                          TABLE [kestrel-tool dbf dump options], e.g.
#                          PKPRAC --index PKPRAC1.NTX --fields NR_PRAC,NAZWX_ --clear
#                          (index files are named relative to the company directory)
#   cases/NAME/TABLE.csv   the expected dump of each of those tables
#
# With KESTREL_UPDATE_FLOWS=1 the expected screens and tables are rewritten
# instead; KESTREL_FLOWS=PATTERN runs only the flows whose names match the
# shell pattern.
set -u
kestrel=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
TOOL=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
export TOOL
cases=$(cd "$(dirname "$0")/cases" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
count=0
for keys in "$cases"/*.keys; do
    name=$(basename "$keys" .keys)
    # shellcheck disable=SC2053
    [[ $name == ${KESTREL_FLOWS:-*} ]] || continue
    count=$((count + 1))
    out="$work/$name"
    mkdir -p "$out/company"
    "$TOOL" demo "$out/company" --now "2026-12-08 09:30" || { echo "FAIL $name: demo company"; failed=$((failed + 1)); continue; }
    if [ -f "$cases/$name.setup" ]; then
        (cd "$out/company" && bash "$cases/$name.setup") || {
            echo "FAIL $name: setup"; failed=$((failed + 1)); continue; }
    fi
    args=()
    [ -f "$cases/$name.args" ] && read -r -a args < "$cases/$name.args"
    want_exit=3
    [ -f "$cases/$name.exit" ] && want_exit=$(cat "$cases/$name.exit")
    (cd "$out/company" && "$kestrel" "${args[@]}" --script "$keys" --screens "$out/screens" \
        --now "2026-12-08 09:30" >"$out/stdout" 2>"$out/stderr")
    status=$?
    if [ "$status" != "$want_exit" ]; then
        echo "FAIL $name: exit status $status, expected $want_exit"
        cat "$out/stderr"
        failed=$((failed + 1))
        continue
    fi
    # The tables the flow changed, dumped as the administrator's tool shows them.
    mkdir -p "$out/tables"
    if [ -f "$cases/$name.tables" ]; then
        company=$(ls -d "$out/company"/*.PK 2>/dev/null | head -1)
        while read -r table opts; do
            [ -n "$table" ] || continue
            read -r -a dump_args <<<"${opts:-}"
            for i in "${!dump_args[@]}"; do
                [ "${dump_args[$i]}" = --index ] && dump_args[$((i + 1))]="$company/${dump_args[$((i + 1))]}"
            done
            "$TOOL" dbf dump "$company/$table.DBF" "${dump_args[@]}" >"$out/tables/$table.csv" \
                2>"$out/tables/$table.err" || {
                echo "FAIL $name: dump of $table"
                cat "$out/tables/$table.err"
                failed=$((failed + 1))
            }
        done <"$cases/$name.tables"
    fi
    if [ "${KESTREL_UPDATE_FLOWS:-}" = 1 ]; then
        rm -rf "${cases:?}/$name"
        mkdir -p "$cases/$name"
        [ -d "$out/screens" ] && cp "$out/screens"/*.txt "$cases/$name/" 2>/dev/null
        cp "$out/tables"/*.csv "$cases/$name/" 2>/dev/null
        echo "updated $name"
        continue
    fi
    for want in "$cases/$name"/*.txt; do
        [ -e "$want" ] || continue
        got="$out/screens/$(basename "$want")"
        if ! diff -u "$want" "$got" >"$out/diff" 2>&1; then
            echo "FAIL $name: screen $(basename "$want" .txt) differs"
            cat "$out/diff"
            failed=$((failed + 1))
        fi
    done
    if [ -f "$cases/$name.tables" ]; then
        while read -r table _; do
            [ -n "$table" ] || continue
            if ! diff -u "$cases/$name/$table.csv" "$out/tables/$table.csv" >"$out/diff" 2>&1; then
                echo "FAIL $name: table $table differs"
                cat "$out/diff"
                failed=$((failed + 1))
            fi
        done <"$cases/$name.tables"
    fi
done
echo "$count flows, $failed failures"
[ "$failed" -eq 0 ]
