#!/usr/bin/python3
"""Writes the benchmark workbook with openpyxl in write-only mode: 200,000 rows x 20 columns of
inline strings, column B holding 200,000 distinct names. Usage: make_large_xlsx.py OUT.xlsx"""
import sys

import openpyxl

ROWS = 200_000
COLUMNS = 20

book = openpyxl.Workbook(write_only=True)
sheet = book.create_sheet("names")
for row in range(1, ROWS + 1):
    cells = ["r%06dc%02d" % (row, column) for column in range(1, COLUMNS + 1)]
    cells[1] = "name%06d" % row
    sheet.append(cells)
book.save(sys.argv[1])
