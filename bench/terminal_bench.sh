#!/bin/bash
# The terminal program as a whole process: "vellum find" over every category
# and "vellum show" of the longest entry, against "grep -c" over the unpacked
# text of the same rules, all timed in one run with the runs interleaved.
# Prints each command's median and 90th percentile and the ratios to grep.
#   bench/terminal_bench.sh [host-build-folder [runs]]
set -euo pipefail
cd "$(dirname "$0")/.."

host=${1:-build/host}
runs=${2:-200}
vellum=$host/terminal/vellum
work=$host/bench/terminal-rules
word=fire

rm -rf "$work"
"$host/vellumpack" unpack "$host/rules.bin" "$work" >/dev/null
texts=("$work"/*/*.txt)

# The title of the longest entry: the most lines of text under one "== ".
longest=$(cat "${texts[@]}" | awk '
    /^== / { if (size > most) { most = size; title = name } name = substr($0, 4); size = 0; next }
    { size += length($0) + 2 }
    END { if (size > most) title = name; print title }')

labels=(
    "vellum find $word (every category)"
    "grep -c -i $word (the unpacked rules)"
    "vellum show, longest entry (piped)"
    "vellum show, longest entry (styled, 80 columns)"
)
commands=(
    "$vellum find $word"
    "grep -c -i $word ${texts[*]}"
    "$vellum show '$longest'"
    "$vellum show '$longest' --color always --width 80"
)
export LC_ALL=C

# One file of times (ms) for each command; the commands take turns, so that
# a change of load bears on all of them alike.
times=()
for k in "${!commands[@]}"; do
    times[k]=$(mktemp)
done
trap 'rm -f "${times[@]}"' EXIT
for ((run = 0; run < runs; run++)); do
    for k in "${!commands[@]}"; do
        start=$EPOCHREALTIME
        eval "${commands[k]}" >/dev/null
        end=$EPOCHREALTIME
        echo "$start $end" | awk '{ printf "%.4f\n", ($2 - $1) * 1000 }' >>"${times[k]}"
    done
done

statistic() { # file fraction: the value at that fraction of the sorted times
    sort -g "$1" | awk -v f="$2" '{ v[NR] = $1 } END { i = int(NR * f + 0.5); if (i < 1) i = 1; printf "%.2f", v[i] }'
}
echo "longest entry: $longest; $runs runs of each command, interleaved"
medians=()
for k in "${!commands[@]}"; do
    medians[k]=$(statistic "${times[k]}" 0.5)
    printf '%-50s median %s ms, 90%% %s ms\n' "${labels[k]}" "${medians[k]}" "$(statistic "${times[k]}" 0.9)"
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "find ratio $(ratio "${medians[0]}" "${medians[1]}") to grep (target 3.00 or less, and under 30 ms)"
echo "show ratio $(ratio "${medians[2]}" "${medians[1]}") to grep, styled $(ratio "${medians[3]}" "${medians[1]}") (target under 15 ms)"
