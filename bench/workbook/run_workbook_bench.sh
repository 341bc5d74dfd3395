#!/usr/bin/env bash
# Reads column B of two 200,000 x 20 workbooks through our connection and with openpyxl in
# read-only mode, alternating, and reports the best of ROUNDS with peak memory; then times a run
# making 200,000 folders from column B against one making them from numbers.
#
#   bench/workbook/run_workbook_bench.sh [WORK_FOLDER] [ROUNDS]
#
# Needs Debian's python3-openpyxl and libxlsxwriter-dev to make the books (kept in WORK_FOLDER,
# default /tmp/zarame-workbook-bench, never committed), and a built build/bin/zarame-workbook-bench.
set -euo pipefail
cd "$(dirname "$0")/../.."
work=${1:-/tmp/zarame-workbook-bench}
rounds=${2:-3}
bench=build/bin/zarame-workbook-bench
mkdir -p "$work"
[ -f "$work/inline.xlsx" ] || /usr/bin/python3 bench/workbook/make_large_xlsx.py "$work/inline.xlsx"
if [ ! -f "$work/shared.xlsx" ]; then
    cc -O2 bench/workbook/make_large_xlsx.c -o "$work/make_large_xlsx" -lxlsxwriter
    "$work/make_large_xlsx" "$work/shared.xlsx"
fi

# CPU seconds (user + system) and peak resident memory of one command, from GNU time.
measure() {
    /usr/bin/time -f '%U %S %M' -o "$work/time.out" "$@" > /dev/null
    awk '{ printf "%.2f %d\n", $1 + $2, $3 / 1024 }' "$work/time.out"
}

echo "book       reader    best_cpu_s  best_wall_s  peak_MiB"
for book in inline shared; do
    best_ours=999999; best_theirs=999999; wall_ours=999999; wall_theirs=999999; mem_ours=0; mem_theirs=0
    for round in $(seq "$rounds"); do
        start=$(date +%s.%N); read -r cpu mem < <(measure "$bench" read "$work/$book.xlsx"); end=$(date +%s.%N)
        wall=$(echo "$end - $start" | bc)
        best_ours=$(echo "if ($cpu < $best_ours) $cpu else $best_ours" | bc)
        wall_ours=$(echo "if ($wall < $wall_ours) $wall else $wall_ours" | bc)
        mem_ours=$((mem > mem_ours ? mem : mem_ours))
        start=$(date +%s.%N); read -r cpu mem < <(measure /usr/bin/python3 bench/workbook/read_with_openpyxl.py "$work/$book.xlsx"); end=$(date +%s.%N)
        wall=$(echo "$end - $start" | bc)
        best_theirs=$(echo "if ($cpu < $best_theirs) $cpu else $best_theirs" | bc)
        wall_theirs=$(echo "if ($wall < $wall_theirs) $wall else $wall_theirs" | bc)
        mem_theirs=$((mem > mem_theirs ? mem : mem_theirs))
    done
    printf "%-10s %-9s %10s  %11s  %8s\n" "$book" zarame "$best_ours" "$wall_ours" "$mem_ours"
    printf "%-10s %-9s %10s  %11s  %8s\n" "$book" openpyxl "$best_theirs" "$wall_theirs" "$mem_theirs"
    echo "$book: openpyxl / zarame CPU = $(echo "scale=1; $best_theirs / $best_ours" | bc)"
done

# The .xls book holds 65,536 rows, all a legacy sheet has; made with Gnumeric where it is installed.
[ -f "$work/large.xls" ] || ! command -v ssconvert > /dev/null ||
    bench/workbook/make_large_xls.sh "$work/large.xls"
if [ -f "$work/large.xls" ]; then
    best=999999; mem_best=0
    for round in $(seq "$rounds"); do
        read -r cpu mem < <(measure "$bench" read "$work/large.xls")
        best=$(echo "if ($cpu < $best) $cpu else $best" | bc)
        mem_best=$((mem > mem_best ? mem : mem_best))
    done
    printf "%-10s %-9s %10s  %11s  %8s\n" large.xls zarame "$best" - "$mem_best"
fi

echo "whole runs, 200,000 folders (fresh folders under $work/runs, deleted by nobody):"
mkdir -p "$work/runs"
"$bench" run "$work/inline.xlsx" "$work/runs" "$rounds"
