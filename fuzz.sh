#!/bin/bash
# Runs the fuzz targets (every one, or those named) for a given number of
# seconds each (default 600), one after another, keeping what each finds in
# its corpus under build/fuzz/tests/fuzz/ (seeded from tests/fuzz/corpus/).
#   ./fuzz.sh [seconds [fuzz_target...]]
set -euo pipefail
cd "$(dirname "$0")"
seconds=${1:-600}
shift || true

tools/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
if [ $# -gt 0 ]; then
    targets=("${@/#/build/fuzz/tests/fuzz/}")
else
    targets=(build/fuzz/tests/fuzz/fuzz_*)
fi
for target in "${targets[@]}"; do
    [ -x "$target" ] || { echo "no fuzz target $target" >&2; exit 1; }
    name=$(basename "$target")
    echo "== $name for $seconds s"
    "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
        "build/fuzz/tests/fuzz/corpus-$name"
done
