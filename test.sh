#!/bin/bash
# Installs what is missing, builds the host, win64 and fuzz trees and runs
# every test: native tests, Win32 tests under Wine, the host tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of each fuzz
# target. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

# The Wine wrapper ends its own display and Wine server after each program;
# this catches whatever an interrupted run leaves behind.
finish() {
    WINEPREFIX=$PWD/build/win64/wineprefix wineserver -k >/dev/null 2>&1 || true
}
trap finish EXIT

tools/install-deps.sh

for tree in host win64 fuzz; do
    echo "== $tree"
    cmake --preset "$tree" >/dev/null
    cmake --build --preset "$tree"
    ctest --preset "$tree"
done
echo "All tests passed."
