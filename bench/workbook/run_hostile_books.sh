#!/usr/bin/env bash
# Reads each full-size hostile book (make_hostile_books.py) through zarame-cli as a run would,
# and prints its exit status, wall time, peak memory and the run's last lines.
#
#   bench/workbook/run_hostile_books.sh [WORK_FOLDER]
set -uo pipefail
cd "$(dirname "$0")/../.."
work=${1:-/tmp/zarame-hostile-books}
/usr/bin/python3 bench/workbook/make_hostile_books.py "$work/books"
for book in "$work"/books/*; do
    out="$work/out-$(basename "$book")-$$"
    mkdir -p "$out"
    (ulimit -v ${ZARAME_MEMORY_LIMIT_KB:-unlimited}; /usr/bin/time -v -o "$work/time.out" build/bin/zarame-cli --source=excel --excel="$book" \
        --start-cell=A1 --blank-rows=1 --kind=folder --folder="$out" > "$work/stdout" 2>&1)
    status=$?
    wall=$(sed -n 's/.*Elapsed (wall clock) time.*: //p' "$work/time.out")
    peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.out")
    printf '%-26s exit %3d  wall %8s  peak %6d MiB  %s\n' "$(basename "$book")" "$status" \
        "$wall" $((peak / 1024)) "$(tail -n 1 "$work/stdout")"
done
