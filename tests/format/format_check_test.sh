#!/usr/bin/env bash
# The formatting check refuses a misformatted file and passes a formatted one.
set -u
check="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'int  f( int a ){return a;}\n' >"$work/bad.cpp"
printf 'int f(int a) {\n    return a;\n}\n' >"$work/good.cpp"
fail=0
if "$check" "$work/bad.cpp" >"$work/out" 2>&1; then
    echo "FAIL: a misformatted file passed"; fail=1
elif ! grep -q "bad.cpp" "$work/out"; then
    echo "FAIL: the misformatted file is not named"; cat "$work/out"; fail=1
fi
if ! "$check" "$work/good.cpp" >"$work/out" 2>&1; then
    echo "FAIL: a formatted file was refused"; cat "$work/out"; fail=1
fi
if "$check" "$work/good.cpp" "$work/bad.cpp" >"$work/out" 2>&1 || grep -q "good.cpp" "$work/out"; then
    echo "FAIL: of two files only the misformatted one must be named"; cat "$work/out"; fail=1
fi
exit $fail
