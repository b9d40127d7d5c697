#!/bin/bash
# Runs every fuzz target for a given number of seconds each (default 600),
# keeping what each finds in its corpus under build/fuzz/tests/fuzz/.
#   ./fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")"
seconds=${1:-600}

tools/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in build/fuzz/tests/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    echo "== $name for $seconds s"
    "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
        "build/fuzz/tests/fuzz/corpus-$name"
done
