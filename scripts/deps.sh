#!/usr/bin/env bash
# Installs the Debian packages the build (and, with "test", the tests) need,
# only those that are missing.
set -euo pipefail
need=(cmake ninja-build g++ pkg-config libncurses-dev libcrypt-dev
      libcairo2-dev libpango1.0-dev fonts-dejavu-core cups-client qpdf)
if [ "${1:-}" = test ]; then
    need+=(libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev tmux
           python3 python3-dbfread libdbd-xbase-perl clang libclang-rt-14-dev clang-format
           poppler-utils cups printer-driver-cups-pdf)
fi
missing=()
for p in "${need[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq >/dev/null || true
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
