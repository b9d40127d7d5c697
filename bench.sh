#!/bin/bash
# Builds the host and win64 trees, runs every benchmark (natively and under
# Wine) over the generated data at 1, 4 and 16 times its usual size, and
# writes docs/performance.md from the figures of this one run.
#   ./bench.sh                        trees under build/ (the presets)
#   VELLUM_BUILD=<folder> ./bench.sh  trees under <folder>/host and <folder>/win64
#   ./bench.sh --report               only writes the report again, from the
#                                     outputs the last run kept
set -euo pipefail
cd "$(dirname "$0")"

build=${VELLUM_BUILD:-build}
# Two compile jobs unless told otherwise: the machine may be shared.
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2}
host=$build/host
win64=$build/win64
out=$build/bench-output
report=docs/performance.md
scales="1 4 16"

report_only=
[ "${1:-}" = --report ] && report_only=yes

build_trees() {
    if [ "$build" = build ]; then
        cmake --preset host >/dev/null
        cmake --build --preset host
        cmake --preset win64 >/dev/null
        cmake --build --preset win64
        return
    fi
    cmake -S . -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$host"
    cmake -S . -B "$win64" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
        -DVELLUMPACK="$PWD/$host/vellumpack" -DVELLUMICON="$PWD/$host/vellumicon" >/dev/null
    cmake --build "$win64"
}

# Each benchmark's whole output is kept, with the time and the load, for the
# report.
run_host() { # name scale
    echo "== $1 ${2}x"
    VELLUM_BENCH_SCALE=$2 "$host/bench/$1" --benchmark_color=false | tee "$out/$1-x$2.txt"
}
run_wine() { # name scale
    local program=$1
    [ "$2" != 1 ] && program=$1_x$2
    echo "== $1 ${2}x"
    cmake/wine-run.sh --prefix "$PWD/$win64/wineprefix" "$win64/bench/win32/$program.exe" |
        tr -d '\r' | tee "$out/$1-x$2.txt"
}
run_all() {
    rm -rf "$out"
    mkdir -p "$out"
    cut -d' ' -f1-3 /proc/loadavg >"$out/load-before.txt"
    date -u '+%Y-%m-%d %H:%M UTC' >"$out/started.txt"
    for scale in $scales; do
        run_host rules_load_bench "$scale"
        run_host search_bench "$scale"
        run_wine type_ahead_bench "$scale"
        run_wine search_dialog_bench "$scale"
    done
    run_host dice_bench 1
    run_host link_finder_bench 1
    echo "== terminal_bench 1x"
    bench/terminal_bench.sh "$host" | tee "$out/terminal_bench-x1.txt"
    run_wine reading_view_bench 1
    run_wine dice_dialog_bench 1
    run_wine startup_bench 1
    run_wine startup_parts_bench 1
    cut -d' ' -f1-3 /proc/loadavg >"$out/load-after.txt"
}

# The Wine wrapper ends its own display and Wine server after each program;
# this catches whatever an interrupted run leaves behind.
finish() {
    WINEPREFIX=$PWD/$win64/wineprefix wineserver -k >/dev/null 2>&1 || true
}

if [ -z "$report_only" ]; then
    trap finish EXIT
    build_trees
    run_all
elif [ ! -f "$out/load-after.txt" ]; then
    echo "bench.sh: $out holds no complete run to report" >&2
    exit 1
fi
load_before=$(cat "$out/load-before.txt")
load_after=$(cat "$out/load-after.txt")
started=$(cat "$out/started.txt")

# --- reading the figures back ------------------------------------------------

# The number that follows the word in the first line holding the text.
figure() { # file text word
    awk -v text="$2" -v word="$3" 'index($0, text) {
        for (i = 1; i < NF; i++) if ($i == word) { print $(i + 1); exit } }' "$out/$1"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
entries() { # file: the entry count the benchmark reports
    awk '/entries/ { for (i = 1; i < NF; i++) if ($(i + 1) ~ /^entries/) { print $i; exit } }
         /titles,|over [0-9]+ titles/ { for (i = 1; i < NF; i++) if ($(i + 1) == "titles,") { print $i; exit } }' \
        "$out/$1" | tr -d ':,' | head -n 1
}

# Whether a row's target holds: "yes" or "no" for a target of the forms
# "ratio at most R" and "under N ms" (each part must hold when both are
# given), "-" for a row without one. A figure in microseconds (unit us) is
# compared with a target in milliseconds as such.
holds() { # figure unit ratio target
    awk -v figure="$1" -v unit="$2" -v ratio="$3" -v target="$4" 'BEGIN {
        verdict = "-"
        if (match(target, /ratio at most [0-9.]+/)) {
            limit = substr(target, RSTART + 14, RLENGTH - 14) + 0
            verdict = (ratio != "-" && ratio + 0 <= limit) ? "yes" : "no"
        }
        if (match(target, /under [0-9.]+ ms/)) {
            limit = substr(target, RSTART + 6, RLENGTH - 9) + 0
            ms = unit == "us" ? figure / 1000 : figure
            under = (figure != "" && ms + 0 < limit) ? "yes" : "no"
            verdict = (verdict == "no" || under == "no") ? "no" : "yes"
        }
        print verdict }'
}

row() { # benchmark data figure baseline-name baseline unit target
    local r
    r=$(ratio "$3" "$5")
    printf '| %s | %s | %s %s | %s: %s %s | %s | %s | %s |\n' "$1" "$2" "$3" "$6" "$4" "$5" "$6" \
        "$r" "$7" "$(holds "$3" "$6" "$r" "$7")"
}

cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
{
    echo "# Performance"
    echo
    echo "Written by \`./bench.sh\` on $started from one run of every benchmark; each"
    echo "figure's baseline was measured in the same run, in the same process where the"
    echo "benchmark allows. Times are medians unless the row says otherwise. The raw"
    echo "output of each benchmark is kept in \`$out/\`."
    echo
    echo "## Machine"
    echo
    echo "- \`$(uname -srmo)\`"
    echo "- CPU: $cpu, $(nproc) cores available"
    echo "- memory: $(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)"
    echo "- load average (1, 5, 15 min): $load_before before the run, $load_after after it"
    wine=/usr/lib/wine/wine64
    [ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
    echo "- $("$wine" --version), $(x86_64-w64-mingw32-g++-posix --version | head -n 1),"
    echo "  $(g++ --version | head -n 1); trees built RelWithDebInfo (-O2)"
    echo
    echo "The machine is shared: figures from a loaded machine are higher and less"
    echo "steady than on an idle one, ratios less so, since both sides of one bear"
    echo "the same load."
    echo
    echo "## Figures"
    echo
    echo "| benchmark | data | figure | baseline | ratio | target | holds |"
    echo "|---|---|---|---|---|---|---|"
    for scale in $scales; do
        f=rules_load_bench-x$scale.txt
        row "rules load: inflate-and-check" "${scale}x, $(figure "$f" "generated image" image) B image" \
            "$(figure "$f" "inflate-and-check" inflate-and-check)" "bare uncompress" \
            "$(figure "$f" "bare uncompress" uncompress)" ms "ratio at most 1.10"
    done
    for scale in $scales; do
        f=search_bench-x$scale.txt
        row "search engine, query \"storm ward -frost\"" "${scale}x, $(entries "$f") entries" \
            "$(figure "$f" "search engine" engine)" "plain scan" "$(figure "$f" "baseline scan" scan)" \
            ms "ratio at most 3.00"
    done
    f=dice_bench-x1.txt
    row "dice generator, one draw" "-" "$(figure "$f" "dice generator" generator)" "std::mt19937" \
        "$(figure "$f" "std::mt19937" std::mt19937)" ns "ratio at most 1.20"
    for scale in $scales; do
        f=type_ahead_bench-x$scale.txt
        row "type-ahead keystroke, titles only (Wine; 90%: $(figure "$f" "titles only  " 90%) ms)" \
            "${scale}x, $(entries "$f") entries" "$(figure "$f" "titles only  " median)" \
            "refilling the list with the titles that remain" "$(figure "$f" "refill, titles only" median)" ms "-"
        row "type-ahead keystroke, BodySearch on (Wine; 90%: $(figure "$f" "BodySearch on  " 90%) ms)" \
            "${scale}x, $(entries "$f") entries" "$(figure "$f" "BodySearch on  " median)" \
            "refilling the list with the titles that remain" "$(figure "$f" "refill, BodySearch on" median)" ms \
            "ratio at most 1.50"
    done
    for scale in $scales; do
        f=search_dialog_bench-x$scale.txt
        row "search dialog: Find to painted results (Wine; 90%: $(figure "$f" "Find to painted results" 90%) ms)" \
            "${scale}x, $(entries "$f") entries" "$(figure "$f" "Find to painted results" median)" \
            "listing the titles only and painting" "$(figure "$f" "listing the titles only" median)" ms \
            "ratio at most 1.50"
    done
    f=link_finder_bench-x1.txt
    row "link finder: links of all shipped bodies" "1,073 entries" \
        "$(figure "$f" "links of every body" body)" "one case-folding scan of all bodies" \
        "$(figure "$f" "links of every body" scan)" ms "-"
    link_row() { # data text
        local median percentile
        median=$(figure "$f" "$2" median)
        percentile=$(figure "$f" "$2" percentile)
        printf '| link finder: one entry (median, 90th percentile) | %s | %s us, %s us | - | - | well under 1 ms | %s |\n' \
            "$1" "$median" "$percentile" "$(holds "$percentile" us - "under 1 ms")"
    }
    link_row "shipped titles" "shipped titles, per entry"
    link_row "10,000 titles" "10,000 titles, per entry"
    # One row for each category's longest entry: the rich view against the
    # plain edit control, both shown in one process.
    awk '/ bytes .* rich median / { name = substr($0, 1, index($0, "  ") - 1)
        for (i = 1; i < NF; i++) { if ($i == "bytes") bytes = $(i - 1)
            if ($i == "rich") rm = $(i + 2); if ($i == "plain") pm = $(i + 2)
            if ($i == "90%" && !seen[NR]++) r90 = $(i + 1); else if ($i == "90%") p90 = $(i + 1)
            if ($i == "ratio") ratio = $(i + 1) }
        printf "| showing the longest entry, rich view (Wine) | %s, %s B | %s ms (90%%: %s ms) | plain view: %s ms (90%%: %s ms) | %s | ratio at most 1.5, under 16 ms | %s |\n",
            name, bytes, rm, r90, pm, p90, ratio, (ratio + 0 <= 1.5 && rm + 0 < 16) ? "yes" : "no" }' \
        "$out/reading_view_bench-x1.txt"
    f=terminal_bench-x1.txt
    grep_median=$(figure "$f" "grep -c" median)
    terminal_row() { # label text target
        local median r
        median=$(figure "$f" "$2" median)
        r=$(ratio "$median" "$grep_median")
        printf '| %s | shipped rules | %s ms (90%%: %s ms) | grep -c -i over the unpacked text: %s ms | %s | %s | %s |\n' \
            "$1" "$median" "$(figure "$f" "$2" "90%")" "$grep_median" "$r" "$3" "$(holds "$median" ms "$r" "$3")"
    }
    terminal_row "terminal: vellum find, every category (whole process)" "vellum find" \
        "ratio at most 3.00, under 30 ms"
    terminal_row "terminal: vellum show, longest entry, piped (whole process)" "entry (piped)" "under 15 ms"
    terminal_row "terminal: vellum show, longest entry, styled with links (whole process)" "entry (styled" \
        "under 15 ms"
    f=dice_dialog_bench-x1.txt
    row "dice dialog: click to repainted list (Wine)" "-" \
        "$(figure "$f" "list empty" median)" "the roll alone" "$(figure "$f" "roll alone" median)" \
        ms "under 50 ms"
    f=startup_bench-x1.txt
    row "start-up to the restored entry (Wine; 90%: $(figure "$f" "restored entry shown" 90%) ms)" "shipped rules" \
        "$(figure "$f" "restored entry shown" median)" "a bare window built like the program, shown" \
        "$(figure "$f" "bare window built like it" median)" ms "ratio at most 1.30"
    row "start-up to the restored entry (Wine)" "shipped rules" \
        "$(figure "$f" "restored entry shown" median)" "a plain bare window shown" \
        "$(figure "$f" "bare Win32 window shown" median)" ms "ratio at most 1.60"
    echo
    echo "Where start-up goes, in one process (\`startup_parts_bench\`, shipped rules):"
    echo
    echo "| part | median | min | max |"
    echo "|---|---|---|---|"
    awk '/ median / { label = substr($0, 1, index($0, " median ") - 1); sub(/ +$/, "", label)
        for (i = 1; i < NF; i++) value[$i] = $(i + 1)
        printf "| %s | %s ms | %s ms | %s ms |\n", label, value["median"], value["min"], value["max"] }' \
        "$out/startup_parts_bench-x1.txt"
    echo
    echo "## Growth with the data"
    echo
    echo "The same benchmarks over 4 and 16 times the generated data (more entries of"
    echo "the same kind of text); growth is the 16x figure over the 1x figure."
    echo
    echo "| benchmark | 1x | 4x | 16x | growth 1x to 16x |"
    echo "|---|---|---|---|---|"
    growth() { # label file-stem text word
        local values=() value
        for scale in $scales; do
            value=$(figure "$2-x$scale.txt" "$3" "$4")
            values+=("$value")
        done
        printf '| %s | %s ms | %s ms | %s ms | %sx |\n' "$1" "${values[0]}" "${values[1]}" \
            "${values[2]}" "$(ratio "${values[2]}" "${values[0]}")"
    }
    growth "rules load: inflate-and-check" rules_load_bench "inflate-and-check" inflate-and-check
    growth "rules load: bare uncompress" rules_load_bench "bare uncompress" uncompress
    growth "search engine" search_bench "search engine" engine
    growth "search: plain scan" search_bench "baseline scan" scan
    growth "type-ahead keystroke, titles only" type_ahead_bench "titles only" median
    growth "type-ahead keystroke, BodySearch on" type_ahead_bench "BodySearch on" median
    growth "type-ahead: refilling with the titles that remain" type_ahead_bench "refill, BodySearch on" median
    growth "type-ahead: refilling the full list" type_ahead_bench "refill the full list" median
    growth "search dialog: Find to painted results" search_dialog_bench "Find to painted" median
    growth "search dialog: listing the titles only" search_dialog_bench "listing the titles" median
    echo
    echo "The dice figures do not depend on the rules data. Start-up is measured with"
    echo "the shipped rules only: the program embeds them, and the generated data would"
    echo "need a program of its own."
    if [ -f docs/performance-notes.md ]; then
        echo
        cat docs/performance-notes.md
    fi
} >"$report"
echo "wrote $report"
