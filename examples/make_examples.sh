#!/usr/bin/env bash
# Writes the example name lists the README and zarame-cli(1) use, from names.txt (UTF-8, the one
# written by hand): names-sjis.txt, the same lines in Shift_JIS (CP932) with CRLF line ends, as a
# Windows editor saves them; and names.xlsx, the same names in column B under a heading in B1,
# written by openpyxl (Debian's python3-openpyxl). The outputs are committed: nothing here is
# needed to build or run the programs.
set -euo pipefail
cd "$(dirname "$0")"
sed 's/$/\r/' names.txt | iconv -f UTF-8 -t CP932 > names-sjis.txt
/usr/bin/python3 - <<'PYTHON'
import openpyxl

book = openpyxl.Workbook()
sheet = book.active
sheet.title = "名前"
sheet["B1"] = "名前"
with open("names.txt", encoding="utf-8") as names:
    for row, name in enumerate((line.rstrip("\n") for line in names), start=2):
        sheet.cell(row=row, column=2, value=name)
book.save("names.xlsx")
PYTHON
# openpyxl stamps the book with the time it was written; a fixed time keeps the file the same
# from one run of this script to the next.
/usr/bin/python3 - <<'PYTHON'
import zipfile, shutil
source = zipfile.ZipFile("names.xlsx")
with zipfile.ZipFile("names.xlsx.tmp", "w", zipfile.ZIP_DEFLATED) as target:
    for item in source.infolist():
        data = source.read(item.filename)
        if item.filename == "docProps/core.xml":
            import re
            data = re.sub(rb"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ", b"2026-12-07T00:00:00Z", data)
        fixed = zipfile.ZipInfo(item.filename, date_time=(2026, 12, 7, 0, 0, 0))
        fixed.compress_type = zipfile.ZIP_DEFLATED
        target.writestr(fixed, data)
source.close()
shutil.move("names.xlsx.tmp", "names.xlsx")
PYTHON
echo "wrote names-sjis.txt and names.xlsx"
