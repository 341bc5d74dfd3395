#!/usr/bin/env bash
# Makes the full-size hostile .xls books (make_hostile_xls.py) and reads column B of each through
# the command line, printing wall seconds and peak memory; each must end within 10 s and 256 MiB.
#
#   bench/workbook/run_hostile_xls.sh [WORK_FOLDER]
#
# Needs a built build/bin/zarame-cli. The books (one of them a 4 GB sparse file) stay in
# WORK_FOLDER, default /tmp/zarame-hostile-xls; made folders go to fresh folders under it.
set -euo pipefail
cd "$(dirname "$0")/../.."
work=${1:-/tmp/zarame-hostile-xls}
[ -f "$work/sparse.xls" ] || /usr/bin/python3 bench/workbook/make_hostile_xls.py "$work"
echo "book        exit  wall_s  peak_MiB"
for book in mulrk sst widerow sparse; do
    out=$(mktemp -d "$work/out-$book.XXXX")
    status=0
    /usr/bin/time -f '%e %M' -o "$work/time.out" timeout 120 build/bin/zarame-cli --source=excel \
        --excel="$work/$book.xls" --start-cell=B1 --blank-rows=3 --kind=folder --folder="$out" \
        > /dev/null 2>&1 || status=$?
    read -r seconds kilobytes < <(tail -1 "$work/time.out")
    printf "%-11s %4s  %6s  %8s\n" "$book" "$status" "$seconds" "$((kilobytes / 1024))"
done
