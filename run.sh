#!/usr/bin/env bash
# Builds the program when needed and starts it.
#
# The program directory is $KESTREL_ROOT, or demo/ inside the checkout
# (ignored by git). On the first run it gets the demo company DEMO.PK.
# Without arguments the program starts on the demo company; arguments go to
# the program as they are (company directory, /D:printer, --script ...).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh run
jobs=$(nproc 2>/dev/null || echo 2)
if [ ! -f build/release/build.ninja ]; then
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build build/release -j "$jobs" --target kestrel kestrel-tool >/dev/null
bin=$(pwd)/build/release/src
root=${KESTREL_ROOT:-$(pwd)/demo}
mkdir -p "$root"
"$bin/tools/kestrel-tool" demo "$root"
cd "$root"
if [ $# -eq 0 ]; then set -- DEMO; fi
exec "$bin/startup/kestrel" "$@"
