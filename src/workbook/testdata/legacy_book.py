"""Writes legacy Excel books record by record: a compound file around BIFF5 or BIFF8 streams.

Used by make_legacy_fixtures.py for shapes no writer produces (Excel 95 books in a given code
page, hostile record layouts) and by bench/workbook/make_hostile_xls.py for the full-size
hostile books. Only what the reader needs is written; the files are not meant for Excel.
"""
import math
import struct

SECTOR = 512
MINI = 64
CUTOFF = 4096
END_OF_CHAIN = 0xFFFFFFFE
FREE = 0xFFFFFFFF
FAT_SECTOR = 0xFFFFFFFD
NO_STREAM = 0xFFFFFFFF
MAGIC = b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"

# Record types
FORMULA, EOF, CONTINUE, DATEMODE, FILEPASS, WINDOW1, CODEPAGE = 6, 0x0A, 0x3C, 0x22, 0x2F, 0x3D, 0x42
BOUNDSHEET, MULRK, MULBLANK, RSTRING, SST, LABELSST = 0x85, 0xBD, 0xBE, 0xD6, 0xFC, 0xFD
XF, BLANK, NUMBER, LABEL, BOOLERR, STRING, RK = 0xE0, 0x201, 0x203, 0x204, 0x205, 0x207, 0x27E
FORMAT, BOF, WINDOW2 = 0x41E, 0x809, 0x23E


def record(kind, body=b""):
    return struct.pack("<HH", kind, len(body)) + body


def bof(version, kind):
    """kind 5 for the globals, 0x10 for a worksheet."""
    return record(BOF, struct.pack("<HHHHII", version, kind, 0x0DBB, 0x07CC, 0, 0x0600)
                  if version == 0x0600 else struct.pack("<HHHH", version, kind, 0x0DBB, 0x07CC))


def unicode8(text, count_bytes=2):
    """A BIFF8 string: count, flags, then 8-bit or UTF-16 characters."""
    count = struct.pack("<B" if count_bytes == 1 else "<H", len(text))
    if all(ord(c) < 256 for c in text):
        return count + b"\x00" + text.encode("latin-1")
    return count + b"\x01" + text.encode("utf-16-le")


def bytes5(encoded, count_bytes=2):
    """A BIFF5 string: count, then the bytes in the book's code page."""
    return struct.pack("<B" if count_bytes == 1 else "<H", len(encoded)) + encoded


def cell(row, column, xf=0):
    return struct.pack("<HHH", row, column, xf)


def rk_integer(value):
    return (value << 2) | 2


def window1(active_tab):
    return record(WINDOW1, struct.pack("<HHHHHHHHH", 0, 0, 0x4000, 0x3000, 0x38, active_tab, 0, 1,
                                       600))


def book_stream(globals_records, sheets, version=0x0600, sheet_name=None):
    """globals_records: bytes after the globals' BOF, BOUNDSHEETs excluded; sheets: list of
    (name_bytes_with_count, records_after_bof). The BOUNDSHEET offsets are filled in here."""
    sheet_name = sheet_name or (lambda name: name)

    def globals_part(offsets):
        bounds = b"".join(record(BOUNDSHEET, struct.pack("<IBB", offset, 0, 0) + name)
                          for offset, (name, _) in zip(offsets, sheets))
        return bof(version, 5) + globals_records + bounds + record(EOF)

    head = globals_part([0] * len(sheets))
    offsets, at = [], len(head)
    bodies = []
    for _, records in sheets:
        body = bof(version, 0x10) + records + record(EOF)
        offsets.append(at)
        bodies.append(body)
        at += len(body)
    return globals_part(offsets) + b"".join(bodies)


def _chain(fat, start, count):
    for index in range(count):
        fat[start + index] = start + index + 1 if index + 1 < count else END_OF_CHAIN


def _entry(name, kind, start, size, right=NO_STREAM, child=NO_STREAM):
    encoded = (name + "\0").encode("utf-16-le")
    return (encoded.ljust(64, b"\0") + struct.pack("<HBB", len(encoded), kind, 1) +
            struct.pack("<III", NO_STREAM, right, child) + bytes(16 + 4 + 16) +
            struct.pack("<IQ", start, size))


def compound_file(streams):
    """streams: list of (name, bytes) in the root storage; small ones go to the mini stream."""
    mini, mini_fat, starts = bytearray(), [], {}
    for name, data in streams:
        if len(data) < CUTOFF:
            first, count = len(mini) // MINI, math.ceil(len(data) / MINI)
            starts[name] = first if count else END_OF_CHAIN
            mini_fat += [first + i + 1 if i + 1 < count else END_OF_CHAIN for i in range(count)]
            mini += data.ljust(count * MINI, b"\0")
    mini_fat_bytes = b"".join(struct.pack("<I", link) for link in mini_fat)
    pieces = [("minifat", mini_fat_bytes), ("mini", bytes(mini))]
    pieces += [(name, data) for name, data in streams if len(data) >= CUTOFF]
    directory_size = SECTOR * math.ceil((len(streams) + 1) * 128 / SECTOR)
    pieces.insert(0, ("directory", b""))
    sizes = [directory_size] + [len(data) for _, data in pieces[1:]]
    counts = [math.ceil(size / SECTOR) for size in sizes]
    data_sectors = sum(counts)
    fat_sectors = 1
    while fat_sectors * (SECTOR // 4) < data_sectors + fat_sectors:
        fat_sectors += 1
    assert fat_sectors <= 109, "too large for a header-only FAT"
    fat = [FREE] * (fat_sectors * SECTOR // 4)
    for index in range(fat_sectors):
        fat[index] = FAT_SECTOR
    first = {}
    at = fat_sectors
    for (name, _), count in zip(pieces, counts):
        first[name] = at if count else END_OF_CHAIN
        _chain(fat, at, count)
        at += count
    entries = [_entry("Root Entry", 5, first["mini"], len(mini), child=1 if streams else NO_STREAM)]
    for index, (name, data) in enumerate(streams):
        start = starts[name] if len(data) < CUTOFF else first[name]
        right = index + 2 if index + 1 < len(streams) else NO_STREAM
        entries.append(_entry(name, 2, start, len(data), right=right))
    directory = b"".join(entries).ljust(directory_size, b"\0")
    header = bytearray(MAGIC + bytes(16))
    header += struct.pack("<HHHHH", 0x3E, 3, 0xFFFE, 9, 6) + bytes(6)
    header += struct.pack("<IIIIIIII", 0, fat_sectors, first["directory"], 0, CUTOFF,
                          first["minifat"], counts[1], END_OF_CHAIN)
    header += struct.pack("<I", 0)
    header += b"".join(struct.pack("<I", i if i < fat_sectors else FREE) for i in range(109))
    body = b"".join(struct.pack("<I", link) for link in fat)
    for (name, data), count in zip(pieces, counts):
        body += (directory if name == "directory" else data).ljust(count * SECTOR, b"\0")
    return bytes(header) + body
