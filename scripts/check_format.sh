#!/usr/bin/env bash
# Checks that C++ sources follow the committed .clang-format; prints the
# files that differ and exits 1 when there is any.
#
#   scripts/check_format.sh            every tracked .cpp/.h of the checkout
#   scripts/check_format.sh FILE...    only these files
#
# With --fix the files are reformatted instead.
set -euo pipefail
cd "$(dirname "$0")/.."
fix=0
if [ "${1:-}" = --fix ]; then
    fix=1
    shift
fi
if [ $# -gt 0 ]; then
    files=("$@")
else
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        mapfile -t files < <(git ls-files '*.cpp' '*.h')
    else
        mapfile -t files < <(find src tests bench \( -name '*.cpp' -o -name '*.h' \) | sort)
    fi
fi
[ ${#files[@]} -gt 0 ] || exit 0
if [ $fix = 1 ]; then
    clang-format -i --style=file "${files[@]}"
    exit 0
fi
# One run for all files: clang-format names each file that would change.
mapfile -t bad < <(clang-format --style="file:$PWD/.clang-format" --dry-run "${files[@]}" 2>&1 |
    sed -n 's/^\(.*\):[0-9][0-9]*:[0-9][0-9]*: \(warning\|error\): .*/\1/p' | sort -u)
if [ ${#bad[@]} -gt 0 ]; then
    echo "Not formatted as .clang-format says (scripts/check_format.sh --fix FILE... mends them):"
    printf '  %s\n' "${bad[@]}"
    exit 1
fi
