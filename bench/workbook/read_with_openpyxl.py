#!/usr/bin/python3
"""The reference reader: openpyxl in read-only mode, iterating column B to the end.
Usage: read_with_openpyxl.py BOOK.xlsx; prints the row count and the seconds taken."""
import sys
import time

import openpyxl

start = time.monotonic()
book = openpyxl.load_workbook(sys.argv[1], read_only=True)
sheet = book.active
count = 0
for (value,) in sheet.iter_rows(min_col=2, max_col=2, values_only=True):
    if value is None:
        break
    count += 1
book.close()
print("%d %.3f" % (count, time.monotonic() - start))
