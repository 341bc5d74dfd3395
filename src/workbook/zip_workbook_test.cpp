// The zip-based readers (.xlsx, .ods) on packages built here part by part: look-alike elements of
// other namespaces, nesting, damage that a single pass must not read as good.
#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "numformat/cell_format.h"
#include "testing/book_reading.h"
#include "testing/test_support.h"
#include "testing/zip_writer.h"

namespace zarame::workbook {
namespace {

using testing::Column;
using testing::ReadFailure;
using testing::ZipCompression;
using testing::ZipParts;

// Any namespace but the ones read; x14 is where Excel 2010 and later put look-alikes.
#define X14 "xmlns:x14=\"http://schemas.microsoft.com/office/spreadsheetml/2009/9/main\""
#define MAIN "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\""
#define REL "http://schemas.openxmlformats.org/officeDocument/2006/relationships"

// Sheet "two" of a 1904 book is active; column A holds a shared string, a date and a rich inline
// string.
ZipParts Xlsx() {
    return {
        {"_rels/.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"b\" Type=\"" REL "/officeDocument\" Target=\"xl/workbook.xml\"/>"
         "</Relationships>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"s1\" Type=\"" REL "/worksheet\" Target=\"one.xml\"/>"
         "<Relationship Id=\"s2\" Type=\"" REL "/worksheet\" Target=\"two.xml\"/>"
         "<Relationship Id=\"st\" Type=\"" REL "/styles\" Target=\"styles.xml\"/>"
         "<Relationship Id=\"ss\" Type=\"" REL "/sharedStrings\" Target=\"strings.xml\"/>"
         "</Relationships>"},
        {"xl/workbook.xml",
         "<workbook " MAIN " " X14 " xmlns:r=\"" REL "\"><workbookPr date1904=\"1\"/>"
         "<bookViews><workbookView activeTab=\"1\"/></bookViews><sheets>"
         "<sheet name=\"one\" sheetId=\"1\" r:id=\"s1\"/><sheet name=\"two\" sheetId=\"2\" "
         "r:id=\"s2\"/></sheets><extLst/></workbook>"},
        {"xl/styles.xml", "<styleSheet " MAIN " " X14 "><numFmts><numFmt numFmtId=\"164\" "
                          "formatCode=\"yyyy/mm/dd\"/></numFmts><cellXfs><xf numFmtId=\"0\"/><xf "
                          "numFmtId=\"164\"/></cellXfs><extLst/></styleSheet>"},
        {"xl/strings.xml",
         "<sst " MAIN " " X14 "><si><t>shared</t><rPh sb=\"0\" eb=\"1\"><t>ふりがな</t></rPh>"
         "</si><extLst/></sst>"},
        {"xl/one.xml",
         "<worksheet " MAIN "><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>not "
         "active</t></is></c></row></sheetData></worksheet>"},
        {"xl/two.xml",
         "<worksheet " MAIN " " X14 "><sheetData>"
         "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>"
         "<row r=\"2\"><c r=\"A2\" s=\"1\"><v>40000</v></c></row>"
         "<row r=\"3\"><c r=\"A3\" t=\"inlineStr\"><is><r><t>in</t></r><r><t>line</t></r></is>"
         "</c></row></sheetData><extLst/></worksheet>"},
    };
}

// Table "second" is active; column A holds a paragraph with a run of spaces, then a row below.
ZipParts Ods() {
    return {
        {"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
        {"content.xml",
         "<office:document-content "
         "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
         "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
         "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" xmlns:o=\"urn:other\">"
         "<office:body><office:spreadsheet><table:table table:name=\"first\"><table:table-row>"
         "<table:table-cell><text:p>not active</text:p></table:table-cell></table:table-row>"
         "</table:table><table:table table:name=\"second\"><table:table-row>"
         "<table:table-cell table:number-columns-repeated=\"2\"><text:p>a<text:s text:c=\"2\"/>b"
         "</text:p></table:table-cell></table:table-row><table:table-row><table:table-cell>"
         "<text:p>row2</text:p></table:table-cell></table:table-row></table:table>"
         "</office:spreadsheet></office:body></office:document-content>"},
        {"settings.xml",
         "<office:document-settings "
         "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
         "xmlns:config=\"urn:oasis:names:tc:opendocument:xmlns:config:1.0\" "
         "xmlns:o=\"urn:other\"><office:settings><config:config-item-set><config:config-item "
         "config:name=\"ActiveTable\">second</config:config-item></config:config-item-set>"
         "</office:settings></office:document-settings>"},
    };
}

// One change to one part: `anchor` (found once) becomes `replacement`.
struct PartEdit {
    const char* part;
    QByteArray anchor;
    QByteArray replacement;
};

ZipParts Edited(ZipParts parts, const PartEdit& edit) {
    for (auto& [name, content] : parts) {
        if (name == QLatin1StringView(edit.part)) {
            EXPECT_EQ(content.count(edit.anchor), 1) << edit.anchor.constData();
            content.replace(edit.anchor, edit.replacement);
        }
    }
    return parts;
}

class ZipWorkbook : public ::testing::Test {
protected:
    QString Write(const ZipParts& parts, const char* name,
                  ZipCompression compression = ZipCompression::Deflate) {
        const QString path = folder.filePath(QString::fromUtf8(name));
        EXPECT_TRUE(testing::WriteZip(path, parts, compression));
        return path;
    }
    QTemporaryDir folder;
};

TEST_F(ZipWorkbook, OnlyElementsAndAttributesOfTheReadNamespacesCount) {
    const QStringList xlsx = {
        "shared", numformat::FormatNumber(40000, u"yyyy/mm/dd", numformat::DateSystem::Date1904),
        "inline", ""};
    ASSERT_EQ(Column(Write(Xlsx(), "plain.xlsx"), 1, 4), xlsx);
    // Each look-alike sits where matching by local name alone would read it instead.
    for (const PartEdit& edit : std::initializer_list<PartEdit>{
             {"xl/workbook.xml", "<extLst/>",
              "<extLst><x14:workbookPr defaultImageDpi=\"220\"/>"
              "</extLst>"},
             {"xl/workbook.xml", "<bookViews>", "<x14:workbookView activeTab=\"0\"/><bookViews>"},
             {"xl/workbook.xml", "<sheets>", "<sheets><x14:sheet name=\"x\" r:id=\"s1\"/>"},
             {"xl/workbook.xml", "sheetId=\"2\"", "sheetId=\"2\" x14:id=\"s1\""},
             {"xl/styles.xml", "<extLst/>", "<x14:numFmt numFmtId=\"164\" formatCode=\"0.00\"/>"},
             {"xl/styles.xml", "<cellXfs>", "<cellXfs><x14:xf numFmtId=\"0\"/>"},
             {"xl/strings.xml", "<si>", "<x14:si><t>fake</t></x14:si><si>"},
             {"xl/strings.xml", "<t>shared</t>",
              "<t>shared</t><x14:t>fake</x14:t><x14:r><t>fake</t></x14:r>"},
             {"xl/two.xml", "<sheetData>",
              "<x14:sheetData><x14:row r=\"1\"><x14:c r=\"A1\" t=\"inlineStr\"><x14:is><x14:t>"
              "fake</x14:t></x14:is></x14:c></x14:row></x14:sheetData><sheetData>"},
             {"xl/two.xml", "<row r=\"1\">",
              "<x14:row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>fake</t></is></c></x14:row>"
              "<row r=\"1\">"},
             {"xl/two.xml", "<c r=\"A1\" t=\"s\">",
              "<x14:c r=\"A1\" t=\"inlineStr\"><is><t>fake</t></is></x14:c><c r=\"A1\" t=\"s\">"},
             {"xl/two.xml", "<v>40000</v>", "<v>40000</v><x14:v>1</x14:v>"},
             {"xl/two.xml", "</is>", "</is><x14:is><t>fake</t></x14:is>"},
             {"xl/two.xml", "<r><t>in</t></r>",
              "<r><t>in</t></r><x14:r><t>fake</t></x14:r><x14:t>fake</x14:t>"},
         }) {
        EXPECT_EQ(Column(Write(Edited(Xlsx(), edit), "edited.xlsx"), 1, 4), xlsx)
            << edit.replacement.constData();
    }

    // Column C lies behind the two repeated cells.
    const QStringList ods = {"a  b", "row2", ""};
    const auto odsColumns = [this](const QString& path) {
        return Column(path, 1, 2) + Column(path, 3, 1);
    };
    ASSERT_EQ(odsColumns(Write(Ods(), "plain.ods")), ods);
    for (const PartEdit& edit : std::initializer_list<PartEdit>{
             {"settings.xml", "<config:config-item ",
              "<o:config-item config:name=\"ActiveTable\">first</o:config-item>"
              "<config:config-item o:name=\"x\" "},
             {"content.xml", "<table:table table:name=\"second\"><table:table-row>",
              "<table:table table:name=\"second\"><o:table-row><table:table-cell><text:p>fake"
              "</text:p></table:table-cell></o:table-row><table:table-row>"},
             {"content.xml", "<table:table-cell table:number-columns-repeated=\"2\">",
              "<o:table-cell><text:p>fake</text:p></o:table-cell>"
              "<table:table-cell o:number-columns-repeated=\"9\" "
              "table:number-columns-repeated=\"2\">"},
             {"content.xml", "<text:s text:c=\"2\"/>", "<text:s o:c=\"9\" text:c=\"2\"/>"},
         }) {
        EXPECT_EQ(odsColumns(Write(Edited(Ods(), edit), "edited.ods")), ods)
            << edit.replacement.constData();
    }
}

// `depth` elements nested around `inner`.
QByteArray Nested(int depth, const char* inner = "") {
    return QByteArray("<n>").repeated(depth) + inner + QByteArray("</n>").repeated(depth);
}

TEST_F(ZipWorkbook, NestingDeeperThanTheCapIsDamageInEveryPart) {
    const QByteArray deep = Nested(300);
    for (const PartEdit& edit : std::initializer_list<PartEdit>{
             {"xl/workbook.xml", "<extLst/>", deep},
             {"xl/_rels/workbook.xml.rels", "</Relationships>", deep + "</Relationships>"},
             {"xl/styles.xml", "<extLst/>", deep},
             {"xl/strings.xml", "<extLst/>", deep},
             {"xl/two.xml", "<sheetData>", "<sheetData>" + deep},
             {"xl/two.xml", "<is>", "<is>" + deep},
         }) {
        EXPECT_TRUE(
            ReadFailure(Write(Edited(Xlsx(), edit), "deep.xlsx"), 4).contains("入れ子が深すぎます"))
            << edit.part << " " << edit.anchor.constData();
    }
    EXPECT_TRUE(
        ReadFailure(Write(Edited(Ods(), {"content.xml", "row2", Nested(300, "row2")}), "deep.ods"),
                    2)
            .contains("入れ子が深すぎます"));
    // Deep but within the cap reads.
    const QByteArray nested = "<is>" + Nested(240);
    EXPECT_EQ(Column(Write(Edited(Xlsx(), {"xl/two.xml", "<is>", nested}), "ok.xlsx"), 1, 3).back(),
              "inline");
}

TEST_F(ZipWorkbook, DamageBehindOrInsideTheRowsIsNeverReadAsGood) {
    struct Case {
        PartEdit edit;
        const char* cause;
    };
    for (const Case& damaged : std::initializer_list<Case>{
             // Not a worksheet at all: a link entry holding another file, say.
             {{"xl/two.xml", "", ""}, "sheetData"},
             {{"xl/two.xml", "<sheetData>", "<x14:sheetData>"}, "sheetData"},
             {{"xl/two.xml", "r=\"A3\"", "r=\"XFE3\""}, "XFE3"},
             {{"xl/two.xml", "r=\"A3\"", "r=\"A1048577\""}, "A1048577"},
             {{"xl/two.xml", "<c r=\"A1\" t=\"s\">", "<c r=\"B1\"/><c r=\"A1\" t=\"s\">"}, "A1"},
             {{"xl/two.xml", "<c r=\"A1\" t=\"s\">", "<c r=\"XFD1\"/><c t=\"s\">"}, "16385"},
             {{"xl/two.xml", "<row r=\"3\">", "<row r=\"1048577\">"}, "1048577"},
             {{"xl/two.xml", "<row r=\"2\">", "<row r=\"5\"></row><row r=\"2\">"}, "行 2"},
             {{"xl/two.xml", "<row r=\"2\">", "<row r=\"1\">"}, "行 1"},
         }) {
        ZipParts parts = Xlsx();
        if (damaged.edit.anchor.isEmpty()) {
            parts.back().second = "root:x:0:0:root:/root:/bin/bash\n";
        } else {
            parts = Edited(parts, damaged.edit);
        }
        const QString cause = ReadFailure(Write(parts, "damaged.xlsx"), 4);
        EXPECT_TRUE(cause.contains(QString::fromUtf8(damaged.cause)))
            << cause.toStdString() << " / " << damaged.edit.replacement.constData();
    }
}

// A stored part with one byte changed reads as other text; only its checksum tells.
QString WithChangedByte(const QString& path, const QByteArray& marker) {
    QByteArray file = testing::ReadFile(path);
    const qsizetype at = file.lastIndexOf(marker);
    file[at] = 'X';
    testing::WriteFile(path, file);
    return path;
}

TEST_F(ZipWorkbook, AChecksumThatFailsAnywhereIsDamage) {
    const QString path =
        WithChangedByte(Write(Xlsx(), "stored.xlsx", ZipCompression::Store), "line</t>");
    const std::unique_ptr<Workbook> book = LoadWorkbook(path);
    EXPECT_EQ(book->ActiveSheet().CellText(1, 1), "shared");  // nothing to see yet
    EXPECT_THROW(book->ActiveSheet().ReadToEnd(), RunTimeError);
    // Reading on to the end finds it as well; so do the parts read whole, and the .ods reader.
    EXPECT_TRUE(ReadFailure(path, 5).contains("CRC"));
    EXPECT_TRUE(
        ReadFailure(WithChangedByte(Write(Xlsx(), "styles.xlsx", ZipCompression::Store), "yyyy/mm"))
            .contains("CRC"));
    EXPECT_TRUE(
        ReadFailure(WithChangedByte(Write(Ods(), "stored.ods", ZipCompression::Store), "row2"), 1)
            .contains("CRC"));
}

}  // namespace
}  // namespace zarame::workbook
