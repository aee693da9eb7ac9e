#!/usr/bin/env bash
# Builds everything (Release, and the unit tests again under the sanitizers)
# and runs every test. Installs missing build dependencies first.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh test

jobs=$(nproc 2>/dev/null || echo 2)

echo "== formatting (.clang-format) =="
./scripts/check_format.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$jobs"

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTREL_SANITIZE=ON \
      -DKESTREL_BENCH=OFF >/dev/null
cmake --build build/asan -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
(cd build/asan && ctest -L unit --output-on-failure -j "$jobs")

echo "== all tests (Release) =="
cd build/release && ctest --output-on-failure -j "$jobs"
