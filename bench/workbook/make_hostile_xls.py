#!/usr/bin/python3
"""Writes the full-size hostile .xls books into FOLDER (they are never committed; scaled-down
shapes live in the test suite). Each must open and read in seconds and bounded memory:

  mulrk.xls     one MULRK row whose cells run on through CONTINUE records for 1.2 MB
  sst.xls       a 3.2 MB shared-string table spread over 50,000 CONTINUE records
  widerow.xls   a row of 65,536 cells, each the same 65,535-character shared string
  sparse.xls    a 4 GB sparse compound file (8 KB on disk) whose header claims 8,000,000
                allocation-table sectors through a DIFAT sector that points to itself

Usage: make_hostile_xls.py FOLDER; then time build/bin/zarame-cli --source=excel
--excel=FOLDER/NAME.xls --start-cell=B1 --kind=folder --folder=... under /usr/bin/time -v.
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "../../src/workbook/testdata"))
import legacy_book as lb  # noqa: E402

LIMIT = 8224  # the longest record body BIFF8 writes


def continued(kind, body, piece=LIMIT, flag=b""):
    """A record whose body runs on through CONTINUE records of `piece` bytes; `flag` starts each
    CONTINUE (a string's width flag)."""
    out = lb.record(kind, body[:piece])
    for at in range(piece, len(body), piece):
        out += lb.record(lb.CONTINUE, flag + body[at:at + piece])
    return out


def book(sheet_records, sst=b""):
    stream = lb.book_stream(lb.window1(0) + sst, [(lb.unicode8("hostile", 1), sheet_records)])
    return lb.compound_file([("Workbook", stream.ljust(lb.CUTOFF, b"\0"))])


def names_column(rows):
    return b"".join(lb.record(lb.LABEL, lb.cell(row, 1) + lb.unicode8("name%d" % row))
                    for row in range(1, rows))


def mulrk():
    cells = 200_000
    body = lb.cell(0, 0)[:4] + b"".join(struct.pack("<HI", 0, lb.rk_integer(i)) for i in range(cells))
    return book(continued(lb.MULRK, body + struct.pack("<H", (cells - 1) & 0xFFFF)) + names_column(5))


def sst():
    strings, per_piece = 800_000, 16
    one = struct.pack("<HB", 1, 0) + b"x"
    body = struct.pack("<II", strings, strings) + one * strings
    # Every CONTINUE starts on a string of its own, so no width flag goes between them.
    records = lb.record(lb.SST, body[:8 + 4 * per_piece])
    for at in range(8 + 4 * per_piece, len(body), 4 * per_piece):
        records += lb.record(lb.CONTINUE, body[at:at + 4 * per_piece])
    cells = b"".join(lb.record(lb.LABELSST, lb.cell(row, 1) + struct.pack("<I", row))
                     for row in range(5))
    return book(cells, records)


def wide_row():
    characters = 65535
    text = struct.pack("<HB", characters, 0) + b"w" * characters
    sst_record = continued(lb.SST, struct.pack("<II", 1, 1) + text, flag=b"\x00")
    cells = b"".join(lb.record(lb.LABELSST, lb.cell(0, column) + struct.pack("<I", 0))
                     for column in range(65536))
    return book(cells, sst_record)


def sparse(path):
    data = bytearray(book(names_column(5)))
    difat = len(data) // lb.SECTOR - 1  # the sector appended below
    struct.pack_into("<I", data, 0x2C, 8_000_000)
    struct.pack_into("<II", data, 0x44, difat, 1)
    for index in range(109):
        struct.pack_into("<I", data, 0x4C + 4 * index, 0)
    data += struct.pack("<127I", *([0] * 127)) + struct.pack("<I", difat)
    with open(path, "wb") as out:
        out.write(data)
        out.truncate(4 << 30)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, make in (("mulrk", mulrk), ("sst", sst), ("widerow", wide_row)):
        with open(os.path.join(folder, name + ".xls"), "wb") as out:
            out.write(make())
    sparse(os.path.join(folder, "sparse.xls"))


if __name__ == "__main__":
    main()
