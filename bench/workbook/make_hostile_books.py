#!/usr/bin/python3
"""Writes full-size hostile books, each small on disk and huge once read naively:

  ods_wide_row.ods        one row of 16,384 cells, each a paragraph of 262,136 spaces
  ods_deep.ods            8 M nested elements inside a cell
  xlsx_deep_workbook.xlsx a workbook part nested some 9 M elements deep
  xlsx_huge_strings.xlsx  a shared-string table of almost 1 GiB
  xlsx_many_sheets.xlsx   a workbook part naming 3.5 M sheets, its relationships 500,000 parts
  xlsx_bad_crc.xlsx       a stored sheet with one byte changed behind the first name
  xlsx_link_sheet.xlsx    a sheet that is a zip symbolic link entry to /etc/passwd

Usage: make_hostile_books.py FOLDER. run_hostile_books.sh reads each through zarame-cli under
/usr/bin/time. The files are never committed; the suite reads scaled-down shapes of them.
"""
import os
import sys
import zipfile
import zlib

ODS_HEAD = ('<?xml version="1.0" encoding="UTF-8"?>'
            '<office:document-content'
            ' xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"'
            ' xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"'
            ' xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0">'
            '<office:body><office:spreadsheet><table:table table:name="t">')
ODS_TAIL = '</table:table></office:spreadsheet></office:body></office:document-content>'

RELS = ('<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="r1" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
        'relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>')
BOOK_RELS = ('<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
             '<Relationship Id="s" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
             'relationships/worksheet" Target="sheet.xml"/>'
             '<Relationship Id="t" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
             'relationships/sharedStrings" Target="strings.xml"/></Relationships>')
MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
WORKBOOK = ('<workbook xmlns="%s" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/'
            'relationships"><sheets><sheet name="s" sheetId="1" r:id="s"/></sheets>' % MAIN)
SHEET = ('<worksheet xmlns="%s"><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c></row>'
         '</sheetData></worksheet>' % MAIN)


def write_streamed(archive, name, pieces):
    """Deflates a part given as an iterable of byte strings, never holding it whole."""
    with archive.open(name, "w", force_zip64=True) as part:
        for piece in pieces:
            part.write(piece)


def open_zip(path):
    return zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9)


def ods(path, body_pieces):
    with open_zip(path) as archive:
        archive.writestr(zipfile.ZipInfo("mimetype"),
                         "application/vnd.oasis.opendocument.spreadsheet")
        write_streamed(archive, "content.xml",
                       [ODS_HEAD.encode()] + list(body_pieces) + [ODS_TAIL.encode()])


def ods_wide_row(path):
    cell = ('<table:table-cell><text:p>' + '<text:s text:c="32767"/>' * 8 +
            '</text:p></table:table-cell>').encode()
    ods(path, [b"<table:table-row>", cell * 16384, b"</table:table-row>"])


def ods_deep(path):
    depth = 8 << 20
    ods(path, [b"<table:table-row><table:table-cell><text:p>", b"<x>" * depth, b"</x>" * depth,
               b"</text:p></table:table-cell></table:table-row>"])


def xlsx(path, parts):
    with open_zip(path) as archive:
        archive.writestr("_rels/.rels", RELS)
        archive.writestr("xl/_rels/workbook.xml.rels", BOOK_RELS)
        for name, pieces in parts.items():
            write_streamed(archive, name, pieces)


def xlsx_deep_workbook(path):
    depth = (63 << 20) // 7  # within the cap on a held part
    xlsx(path, {"xl/workbook.xml": [WORKBOOK.encode(), b"<a>" * depth, b"</a>" * depth,
                                    b"</workbook>"],
                "xl/sheet.xml": [SHEET.encode()]})


def xlsx_huge_strings(path):
    item = b"<si><t>" + b"x" * 1000 + b"</t></si>"
    count = ((1 << 30) - (1 << 20)) // len(item)
    block = item * 1024

    def strings():
        yield ('<sst xmlns="%s" count="%d" uniqueCount="%d">' % (MAIN, count, count)).encode()
        for _ in range(count // 1024):
            yield block
        yield item * (count % 1024)
        yield b"</sst>"

    xlsx(path, {"xl/workbook.xml": [WORKBOOK.encode(), b"</workbook>"],
                "xl/sheet.xml": [SHEET.encode()], "xl/strings.xml": strings()})


def xlsx_many_sheets(path):
    sheets = b'<sheet r:id="s"/>' * 3500000
    relationships = ('<Relationship Id="r%d" Type="http://schemas.openxmlformats.org/'
                     'officeDocument/2006/relationships/worksheet" Target="sheet.xml"/>')
    with open_zip(path) as archive:
        archive.writestr("_rels/.rels", RELS)
        write_streamed(archive, "xl/_rels/workbook.xml.rels",
                       [BOOK_RELS[:-len("</Relationships>")].encode()] +
                       [(relationships % n).encode() for n in range(500000)] +
                       [b"</Relationships>"])
        write_streamed(archive, "xl/workbook.xml",
                       [WORKBOOK.replace("</sheets>", "").encode(), sheets,
                        b"</sheets></workbook>"])
        archive.writestr("xl/sheet.xml", SHEET)


def xlsx_bad_crc(path):
    rows = ('<row r="1"><c r="A1" t="inlineStr"><is><t>one</t></is></c></row><row r="2"/>'
            '<row r="3"><c r="A3" t="inlineStr"><is><t>behind</t></is></c></row>')
    with zipfile.ZipFile(path, "w", zipfile.ZIP_STORED) as archive:
        archive.writestr("_rels/.rels", RELS)
        archive.writestr("xl/_rels/workbook.xml.rels", BOOK_RELS)
        archive.writestr("xl/workbook.xml", WORKBOOK + "</workbook>")
        archive.writestr("xl/sheet.xml", '<worksheet xmlns="%s"><sheetData>%s</sheetData>'
                         '</worksheet>' % (MAIN, rows))
    with open(path, "r+b") as book:
        content = book.read()
        book.seek(content.index(b"behind"))
        book.write(b"X")


def xlsx_link_sheet(path):
    with open_zip(path) as archive:
        archive.writestr("_rels/.rels", RELS)
        archive.writestr("xl/_rels/workbook.xml.rels", BOOK_RELS)
        archive.writestr("xl/workbook.xml", WORKBOOK + "</workbook>")
        link = zipfile.ZipInfo("xl/sheet.xml")
        link.create_system = 3
        link.external_attr = 0o120777 << 16
        archive.writestr(link, "/etc/passwd")


if __name__ == "__main__":
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, make in [("ods_wide_row.ods", ods_wide_row), ("ods_deep.ods", ods_deep),
                       ("xlsx_deep_workbook.xlsx", xlsx_deep_workbook),
                       ("xlsx_huge_strings.xlsx", xlsx_huge_strings),
                       ("xlsx_many_sheets.xlsx", xlsx_many_sheets), ("xlsx_bad_crc.xlsx", xlsx_bad_crc), ("xlsx_link_sheet.xlsx", xlsx_link_sheet)]:
        target = os.path.join(folder, name)
        if not os.path.exists(target):
            make(target)
        print(name, os.path.getsize(target))
