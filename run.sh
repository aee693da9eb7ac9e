#!/usr/bin/env bash
# Builds the program when needed and starts it on the demo company.
# Extra arguments go to the program (company directory, /D:printer, --script ...).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh run
jobs=$(nproc 2>/dev/null || echo 2)
if [ ! -f build/release/build.ninja ]; then
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build build/release -j "$jobs" --target kestrel >/dev/null
mkdir -p demo
if [ $# -eq 0 ]; then set -- DEMO; fi
mkdir -p demo/DEMO.PK
cd demo
exec ../build/release/src/startup/kestrel "$@"
