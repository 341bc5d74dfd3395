#!/usr/bin/python3
"""Writes the small workbooks the reader's tests open.

Run from this folder with Debian's python3 (python3-openpyxl, python3-xlwt) and, for the
LibreOffice conversions, libreoffice-calc. The files are committed, so tests need none of these.
Where no writer offers a feature (phonetic runs, strict namespaces, covered cells), the parts are
written by hand into a zip here.
"""
import datetime
import os
import shutil
import subprocess
import tempfile
import zipfile

import openpyxl
import xlwt


def openpyxl_book():
    """Active sheet third, a hidden sheet before it; one cell type per row in column B."""
    book = openpyxl.Workbook()
    book.active.title = "first"
    hidden = book.create_sheet("hidden")
    hidden.sheet_state = "hidden"
    hidden["B1"] = "from the hidden sheet"
    sheet = book.create_sheet("names")
    book.active = 2
    sheet["B1"] = "alpha"
    sheet["B2"] = 7
    sheet["B2"].number_format = "000"
    sheet["B3"] = True
    sheet["B4"] = "#N/A"
    sheet["B4"].data_type = "e"
    sheet["B5"] = datetime.date(2024, 3, 5)
    sheet["B6"] = "  padded  "
    sheet["B7"] = 2.5
    sheet["B9"] = "after a gap"
    book["first"]["B1"] = "from the first sheet"
    book.save("openpyxl.xlsx")


def openpyxl_write_only():
    """Write-only mode: rows as written, no dimension to trust."""
    book = openpyxl.Workbook(write_only=True)
    sheet = book.create_sheet("only")
    for index in range(1, 301):
        sheet.append([index, "name%03d" % index])
    book.save("write_only.xlsx")


CRAFTED_PARTS = {
    "[Content_Types].xml": """<?xml version="1.0" encoding="UTF-8"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="xml" ContentType="application/xml"/>
</Types>""",
    "_rels/.rels": """<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://purl.oclc.org/ooxml/officeDocument/relationships/officeDocument" Target="/book/main%20book.xml"/>
</Relationships>""",
    "book/_rels/main book.xml.rels": """<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="s1" Type="http://purl.oclc.org/ooxml/officeDocument/relationships/worksheet" Target="sheets/one.xml"/>
<Relationship Id="s2" Type="http://purl.oclc.org/ooxml/officeDocument/relationships/worksheet" Target="/book/sheets/two.xml"/>
<Relationship Id="sst" Type="http://purl.oclc.org/ooxml/officeDocument/relationships/sharedStrings" Target="../strings.xml"/>
<Relationship Id="st" Type="http://purl.oclc.org/ooxml/officeDocument/relationships/styles" Target="./styles.xml"/>
</Relationships>""",
    "book/main book.xml": """<?xml version="1.0" encoding="UTF-8"?>
<x:workbook xmlns:x="http://purl.oclc.org/ooxml/spreadsheetml/main" xmlns:rel="http://purl.oclc.org/ooxml/officeDocument/relationships">
<x:workbookPr date1904="1"/>
<x:bookViews><x:workbookView activeTab="1"/></x:bookViews>
<x:sheets><x:sheet name="one" sheetId="1" rel:id="s1"/><x:sheet name="two" sheetId="2" rel:id="s2"/></x:sheets>
</x:workbook>""",
    "strings.xml": """<?xml version="1.0" encoding="UTF-8"?>
<x:sst xmlns:x="http://purl.oclc.org/ooxml/spreadsheetml/main" count="3" uniqueCount="3">
<x:si><x:r><x:t>漢</x:t></x:r><x:r><x:rPr><x:b/></x:rPr><x:t xml:space="preserve"> 字 </x:t></x:r><x:rPh sb="0" eb="1"><x:t>カン</x:t></x:rPh><x:phoneticPr fontId="1"/></x:si>
<x:si><x:t>line_x000D__x000A_break_x005F_x0041_</x:t></x:si>
<x:si><x:t>  trimmed  </x:t></x:si>
</x:sst>""",
    "book/styles.xml": """<?xml version="1.0" encoding="UTF-8"?>
<x:styleSheet xmlns:x="http://purl.oclc.org/ooxml/spreadsheetml/main">
<x:numFmts count="1"><x:numFmt numFmtId="14" formatCode="yyyy/mm/dd;@"/></x:numFmts>
<x:cellStyleXfs count="1"><x:xf numFmtId="3"/></x:cellStyleXfs>
<x:cellXfs count="2"><x:xf numFmtId="0"/><x:xf numFmtId="14"/></x:cellXfs>
</x:styleSheet>""",
    "book/sheets/one.xml": """<?xml version="1.0" encoding="UTF-8"?>
<x:worksheet xmlns:x="http://purl.oclc.org/ooxml/spreadsheetml/main"><x:sheetData>
<x:row r="1"><x:c r="A1" t="inlineStr"><x:is><x:t>not active</x:t></x:is></x:c></x:row>
</x:sheetData></x:worksheet>""",
    "book/sheets/two.xml": """<?xml version="1.0" encoding="UTF-8"?>
<x:worksheet xmlns:x="http://purl.oclc.org/ooxml/spreadsheetml/main">
<x:dimension ref="A1:A2"/>
<x:sheetData>
<x:row r="2"><x:c r="A2" t="s"><x:v>0</x:v></x:c><x:c t="s"><x:v>1</x:v></x:c><x:c t="s"><x:v>2</x:v></x:c></x:row>
<x:row><x:c r="B3" t="inlineStr"><x:is><x:r><x:t>in</x:t></x:r><x:r><x:t>line</x:t></x:r></x:is></x:c><x:c t="str"><x:f>A1&amp;"x"</x:f><x:v>formula text</x:v></x:c></x:row>
<x:row><x:c r="A4" t="b"><x:v>0</x:v></x:c><x:c t="e"><x:v>#DIV/0!</x:v></x:c><x:c s="1" t="d"><x:v>2024-03-05T12:00:00</x:v></x:c><x:c s="1"><x:v>0</x:v></x:c></x:row>
<x:row r="70000"><x:c r="B70000"><x:v>42</x:v></x:c></x:row>
</x:sheetData></x:worksheet>""",
}


def crafted_book():
    """Strict namespace under another prefix, absolute and relative targets, rich and phonetic
    runs, escapes, cells and rows without references, a 1904 book."""
    with zipfile.ZipFile("crafted.xlsx", "w", zipfile.ZIP_DEFLATED) as archive:
        for name, text in CRAFTED_PARTS.items():
            archive.writestr(name, text)


def xlwt_book():
    """Active sheet third after a hidden one; a shared string long enough to be split across
    CONTINUE records where its characters change width."""
    book = xlwt.Workbook(encoding="utf-8")
    first = book.add_sheet("first")
    first.write(0, 1, "from the first sheet")
    hidden = book.add_sheet("hidden")
    hidden.visibility = 1
    hidden.write(0, 1, "from the hidden sheet")
    sheet = book.add_sheet("names")
    book.set_active_sheet(2)
    sheet.write(0, 1, "alpha")
    sheet.write(1, 1, 7, xlwt.easyxf(num_format_str="000"))
    sheet.write(2, 1, True)
    sheet.write(3, 1, 2.5)
    sheet.write(4, 1, 123456789)  # stored as an RK number
    sheet.write(5, 1, "a" * 8000 + "漢字" * 600)
    for row in range(6, 400):
        sheet.write(row, 1, "名前%d" % row)
    first.set_selected(False)
    sheet.set_selected(True)
    book.save("xlwt.xls")


def libreoffice(source, target_format, target):
    """Converts with LibreOffice, which writes cached formula results and OpenDocument files."""
    soffice = shutil.which("soffice")
    if soffice is None:
        print("soffice missing: keeping", target)
        return
    with tempfile.TemporaryDirectory() as profile, tempfile.TemporaryDirectory() as out:
        subprocess.run([soffice, "-env:UserInstallation=file://" + profile, "--headless",
                        "--convert-to", target_format, "--outdir", out, source],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        produced = os.path.join(out, os.path.splitext(os.path.basename(source))[0] + "." +
                                target_format.split(":")[0])
        shutil.move(produced, target)


def formulas_book():
    """Formulas whose cached results only a calculating writer stores."""
    book = openpyxl.Workbook()
    sheet = book.active
    sheet["A1"] = "abc"
    sheet["B1"] = "=A1&\"def\""
    sheet["B2"] = "=1=1"
    sheet["B3"] = "=NA()"
    sheet["B4"] = "=2*21"
    sheet["B5"] = "=REPT(\"x\",300)"
    sheet["B6"] = "=\"\""
    book.save("formulas_source.xlsx")
    libreoffice("formulas_source.xlsx", "xls", "libreoffice.xls")
    libreoffice("formulas_source.xlsx", "ods", "libreoffice.ods")
    os.remove("formulas_source.xlsx")


ODS_CONTENT = """<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink" office:version="1.2">
<office:body><office:spreadsheet>
<table:table table:name="first"><table:table-row><table:table-cell><text:p>not active</text:p></table:table-cell></table:table-row></table:table>
<table:table table:name="second">
<table:table-column table:number-columns-repeated="3"/>
<table:table-row table:number-rows-repeated="2"><table:table-cell table:number-columns-repeated="2"><text:p>twice</text:p></table:table-cell><table:table-cell><text:p>c</text:p></table:table-cell></table:table-row>
<table:table-header-rows><table:table-row><table:table-cell table:number-columns-spanned="2"><text:p>merged</text:p></table:table-cell><table:covered-table-cell><text:p>hidden under</text:p></table:covered-table-cell><table:table-cell><office:annotation><text:p>a comment</text:p></office:annotation><text:p>x<text:s text:c="3"/>y<text:tab/>z</text:p><text:p><text:span>sp</text:span><text:a xlink:href="http://example.com/">link</text:a><text:line-break/>end</text:p></table:table-cell></table:table-row></table:table-header-rows>
<table:table-row table:number-rows-repeated="2147483647"><table:table-cell table:number-columns-repeated="2147483647"/></table:table-row>
</table:table>
</office:spreadsheet></office:body></office:document-content>"""

ODS_SETTINGS = """<?xml version="1.0" encoding="UTF-8"?>
<office:document-settings xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:config="urn:oasis:names:tc:opendocument:xmlns:config:1.0"><office:settings>
<config:config-item-set config:name="ooo:view-settings"><config:config-item-map-indexed config:name="Views"><config:config-item-map-entry>
<config:config-item config:name="ActiveTable" config:type="string">second</config:config-item>
</config:config-item-map-entry></config:config-item-map-indexed></config:config-item-set>
</office:settings></office:document-settings>"""


def crafted_ods():
    """Row and column repeats up to 2^31 - 1, covered cells, annotations, spaces, tabs, line
    breaks, spans and links, header rows, and an active table that is not the first."""
    with zipfile.ZipFile("crafted.ods", "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.spreadsheet")
        archive.writestr("content.xml", ODS_CONTENT)
        archive.writestr("settings.xml", ODS_SETTINGS)
    # Settings that name a table the document does not have: the first table is active.
    with zipfile.ZipFile("missing_active.ods", "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.spreadsheet")
        archive.writestr("content.xml", ODS_CONTENT)
        archive.writestr("settings.xml", ODS_SETTINGS.replace(">second<", ">gone<"))


def hostile_books():
    """A part that inflates past the reader's cap, an entity bomb, and a text run too long to
    hold as one token; each is small on disk."""
    def write(name, parts):
        with zipfile.ZipFile(name, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
            for part, text in parts.items():
                archive.writestr(part, text)

    rels = CRAFTED_PARTS["_rels/.rels"].replace("/book/main%20book.xml", "xl/workbook.xml")
    sheet_rels = ('<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/'
                  'relationships"><Relationship Id="r1" Type="http://schemas.openxmlformats.org/'
                  'officeDocument/2006/relationships/worksheet" Target="s.xml"/></Relationships>')
    workbook = ('<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
                'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">'
                '<sheets><sheet name="s" sheetId="1" r:id="r1"/></sheets></workbook>')
    write("bomb.xlsx", {"_rels/.rels": rels, "xl/_rels/workbook.xml.rels": sheet_rels,
                        "xl/workbook.xml": workbook[:-11] + " " * (65 << 20) + "</workbook>"})
    laughs = ('<?xml version="1.0"?><!DOCTYPE workbook [<!ENTITY a "aaaaaaaaaa">'
              + "".join('<!ENTITY %s "%s">' % (chr(98 + i), ("&%s;" % chr(97 + i)) * 10)
                        for i in range(8))
              + ']>' + workbook.replace("<sheets>", "<sheets>&i;"))
    write("laughs.xlsx", {"_rels/.rels": rels, "xl/_rels/workbook.xml.rels": sheet_rels,
                          "xl/workbook.xml": laughs})
    long_run = ('<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
                '<sheetData><row><c t="inlineStr"><is><t>' + "x" * (70 << 20) +
                '</t></is></c></row></sheetData></worksheet>')
    write("long_token.xlsx", {"_rels/.rels": rels, "xl/_rels/workbook.xml.rels": sheet_rels,
                              "xl/workbook.xml": workbook, "xl/s.xml": long_run})


def text_files():
    with open("names.csv", "wb") as out:
        out.write('name,"quoted, with comma"\r\n"a ""b""",007\n"two\nlines",\n,x\n'
                  .encode("utf-8"))
    with open("names.tsv", "wb") as out:
        out.write(b"\xff\xfe" + "a\tｂ\n".encode("utf-16-le"))
    with open("sjis.csv", "wb") as out:
        out.write("x,ascii\ny,漢字\n".encode("cp932"))


if __name__ == "__main__":
    openpyxl_book()
    openpyxl_write_only()
    crafted_book()
    xlwt_book()
    formulas_book()
    crafted_ods()
    hostile_books()
    text_files()
