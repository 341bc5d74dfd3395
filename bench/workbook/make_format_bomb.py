#!/usr/bin/python3
"""Writes two hostile workbooks, a few kilobytes on disk, for timing the reader by hand
(/usr/bin/time -v build/bin/zarame-cli --source=excel --excel=BOOK --folder=...):

  format_bomb.xlsx  B1 is a 1 MB shared string under a format code of 1,024 @ (shown 1,024 times)
  long_string.xlsx  B1 is the same string with no format at all

Both must end at once with an error line naming B1. Python's standard library only.
Usage: make_format_bomb.py OUT_FOLDER"""
import os
import sys
import zipfile

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
RELS = "http://schemas.openxmlformats.org/package/2006/relationships"
DOC = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"

PARTS = {
    "[Content_Types].xml":
        '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
        '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
        '<Default Extension="xml" ContentType="application/xml"/></Types>',
    "_rels/.rels":
        f'<Relationships xmlns="{RELS}"><Relationship Id="r1" Type="{DOC}/officeDocument" '
        'Target="xl/workbook.xml"/></Relationships>',
    "xl/_rels/workbook.xml.rels":
        f'<Relationships xmlns="{RELS}">'
        f'<Relationship Id="s" Type="{DOC}/worksheet" Target="worksheets/sheet1.xml"/>'
        f'<Relationship Id="t" Type="{DOC}/sharedStrings" Target="sharedStrings.xml"/>'
        f'<Relationship Id="u" Type="{DOC}/styles" Target="styles.xml"/></Relationships>',
    "xl/workbook.xml":
        f'<workbook xmlns="{MAIN}" xmlns:r="{DOC}"><sheets>'
        '<sheet name="bomb" sheetId="1" r:id="s"/></sheets></workbook>',
    "xl/sharedStrings.xml":
        f'<sst xmlns="{MAIN}" count="1" uniqueCount="1"><si><t>{"x" * (1 << 20)}</t></si></sst>',
}


def styles(code):
    formats = f'<numFmts count="1"><numFmt numFmtId="164" formatCode="{code}"/></numFmts>'
    return (f'<styleSheet xmlns="{MAIN}">{formats if code else ""}'
            '<cellXfs count="2"><xf numFmtId="0"/>'
            f'<xf numFmtId="{164 if code else 0}" applyNumberFormat="1"/></cellXfs></styleSheet>')


def sheet(style):
    return (f'<worksheet xmlns="{MAIN}"><sheetData><row r="1">'
            f'<c r="B1" t="s" s="{style}"><v>0</v></c></row></sheetData></worksheet>')


def write(path, code):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for part, text in PARTS.items():
            archive.writestr(part, text)
        archive.writestr("xl/styles.xml", styles(code))
        archive.writestr("xl/worksheets/sheet1.xml", sheet(1 if code else 0))


folder = sys.argv[1]
write(os.path.join(folder, "format_bomb.xlsx"), "@" * 1024)
write(os.path.join(folder, "long_string.xlsx"), "")
