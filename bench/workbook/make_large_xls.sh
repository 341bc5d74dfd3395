#!/usr/bin/env bash
# Writes the .xls benchmark book: 65,536 rows (all a BIFF8 sheet holds) x 20 columns, column B
# holding distinct names (shared strings), the other columns numbers and texts, so that the book
# holds MULRK, RK, NUMBER and LABELSST records as Gnumeric writes them. Needs gnumeric (ssconvert),
# which is not a dependency of the program.
#
#   bench/workbook/make_large_xls.sh OUT.xls
set -euo pipefail
out=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 - "$work/large.csv" <<'PY'
import sys

with open(sys.argv[1], "w") as out:
    for row in range(1, 65537):
        cells = [str(row * 1.5) if column % 3 == 0 else str(row * 7 + column) if column % 3 == 1
                 else "r%06dc%02d" % (row, column) for column in range(1, 21)]
        cells[1] = "name%06d" % row
        out.write(",".join(cells) + "\n")
PY
ssconvert --export-type=Gnumeric_Excel:excel_biff8 "$work/large.csv" "$out" 2>/dev/null
