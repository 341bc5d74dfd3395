#!/usr/bin/python3
"""Writes the Excel 5.0/95 (BIFF7) books the reader's tests open.

Run from this folder with Debian's python3-openpyxl and gnumeric (ssconvert); the files are
committed, so tests need neither. Gnumeric writes every 8-bit string in code page 1252 and turns
Japanese into '?', so the Japanese book is written with ASCII placeholders and patched here: the
placeholders become Shift_JIS (code page 932), the CODEPAGE record says 932, the BOUNDSHEET
offsets follow the records that grew, and the stream goes into a new compound file.

  gnumeric95.xls        code page 1252, the 1900 date system, as Gnumeric wrote it
  gnumeric95_932.xls    code page 932 with Japanese names, the 1904 date system, patched
"""
import datetime
import os
import struct
import subprocess
import tempfile

import openpyxl
import openpyxl.utils.datetime

import legacy_book as lb

JAPANESE = {"JPSHEET": "名前", "JPNAME": "漢字の名前", "JPA": "名", "JPB": "前", "JPKANA": "ｶﾀｶﾅ",
            "JPYEN": "円"}


def source_book(path, japanese, dates1904):
    """Active sheet second; column B: text, numbers with formats, a date, formulas with text,
    error and number results, a boolean; row 12 a run of numbers (MULRK) and formatted blanks."""
    book = openpyxl.Workbook()
    if dates1904:
        book.epoch = openpyxl.utils.datetime.CALENDAR_MAC_1904
    first = book.active
    first.title = "first"
    first["B1"] = "from the first sheet"
    sheet = book.create_sheet("JPSHEET" if japanese else "names")
    book.active = 1
    first.sheet_view.tabSelected = False
    sheet.sheet_view.tabSelected = True
    sheet["B1"] = "JPNAME" if japanese else "café"
    sheet["B2"] = 7
    sheet["B2"].number_format = "000"
    sheet["B3"] = 1234.5
    sheet["B3"].number_format = "#,##0.00"
    sheet["B4"] = datetime.date(2024, 3, 5)
    sheet["B4"].number_format = "yyyy/mm/dd"
    sheet["B5"] = '="JPA"&"JPB"' if japanese else '="ab"&"cd"'
    sheet["B6"] = True
    sheet["B7"] = "=1/0"
    sheet["B8"] = "=2*21"
    sheet["B9"] = "JPKANA" if japanese else "x"
    sheet["B10"] = 1500
    sheet["B10"].number_format = '0"JPYEN"' if japanese else '0" yen"'
    for column in range(1, 6):
        sheet.cell(row=12, column=column, value=column * 10)
        sheet.cell(row=13, column=column).number_format = "0.00"
    book.save(path)


def gnumeric_biff7(source, target):
    subprocess.run(["ssconvert", "--export-type=Gnumeric_Excel:excel_biff7", source, target],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def book_stream(path):
    """The Book stream of a compound file whose allocation table the header lists whole."""
    data = open(path, "rb").read()
    size = 1 << struct.unpack_from("<H", data, 0x1E)[0]
    fat = []
    for sector in struct.unpack_from("<109I", data, 0x4C)[:struct.unpack_from("<I", data, 0x2C)[0]]:
        fat += struct.unpack_from("<%dI" % (size // 4), data, size + sector * size)

    def chain(start, table, read):
        pieces = []
        while start < lb.END_OF_CHAIN - 3:
            pieces.append(read(start))
            start = table[start]
        return b"".join(pieces)

    def sector(number):
        return data[size + number * size:size + (number + 1) * size]

    directory = chain(struct.unpack_from("<I", data, 0x30)[0], fat, sector)
    entries = [directory[at:at + 128] for at in range(0, len(directory), 128)]
    root_start, root_size = struct.unpack_from("<IQ", entries[0], 0x74)
    mini = chain(root_start, fat, sector)[:root_size]
    mini_table_start, mini_table_sectors = struct.unpack_from("<II", data, 0x3C)
    mini_table = chain(mini_table_start, fat, sector)[:mini_table_sectors * size]
    mini_fat = struct.unpack("<%dI" % (len(mini_table) // 4), mini_table)
    for entry in entries:
        if entry[:10] == "Book\0".encode("utf-16-le"):
            start, length = struct.unpack_from("<IQ", entry, 0x74)
            if length >= lb.CUTOFF:
                return chain(start, fat, sector)[:length]
            return chain(start, mini_fat, lambda n: mini[n * lb.MINI:(n + 1) * lb.MINI])[:length]
    raise SystemExit("no Book stream in " + path)


def patched(stream):
    """Placeholders to code page 932, CODEPAGE to 932, BOUNDSHEET offsets moved along."""
    def text(raw):
        decoded = raw.decode("cp1252")
        for placeholder, japanese in JAPANESE.items():
            decoded = decoded.replace(placeholder, japanese)
        return decoded.encode("cp932")

    records, moved, at = [], {}, 0
    while at < len(stream):
        kind, length = struct.unpack_from("<HH", stream, at)
        body = stream[at + 4:at + 4 + length]
        moved[at] = sum(4 + len(each[1]) for each in records)
        if kind == lb.CODEPAGE:
            body = struct.pack("<H", 932)
        elif kind in (lb.LABEL, lb.STRING):
            head = 6 if kind == lb.LABEL else 0
            count = struct.unpack_from("<H", body, head)[0]
            new = text(body[head + 2:head + 2 + count])
            body = body[:head] + struct.pack("<H", len(new)) + new + body[head + 2 + count:]
        elif kind in (lb.FORMAT, lb.BOUNDSHEET):
            head = 2 if kind == lb.FORMAT else 6
            count = body[head]
            new = text(body[head + 1:head + 1 + count])
            body = body[:head] + bytes([len(new)]) + new + body[head + 1 + count:]
        records.append((kind, body))
        at += 4 + length
    out = b""
    for kind, body in records:
        if kind == lb.BOUNDSHEET:
            body = struct.pack("<I", moved[struct.unpack_from("<I", body)[0]]) + body[4:]
        out += lb.record(kind, body)
    return out


def main():
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "source.xlsx")
        source_book(source, japanese=False, dates1904=False)
        gnumeric_biff7(source, "gnumeric95.xls")
        source_book(source, japanese=True, dates1904=True)
        written = os.path.join(work, "written.xls")
        gnumeric_biff7(source, written)
        with open("gnumeric95_932.xls", "wb") as out:
            out.write(lb.compound_file([("Book", patched(book_stream(written)))]))


if __name__ == "__main__":
    main()
