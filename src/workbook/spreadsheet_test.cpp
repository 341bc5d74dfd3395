// The reader through the connection, on files made by independent writers (see
// testdata/make_fixtures.py) and on hostile files made here.
#include "workbook/spreadsheet.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>
#include <QDate>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <utility>
#include <vector>

#include "numformat/cell_format.h"
#include "testing/test_support.h"
#include "workbook/streaming_sheet.h"

namespace zarame::workbook {
namespace {

using numformat::BuiltInFormatCode;
using numformat::DateSystem;
using numformat::FormatNumber;

QString Fixture(const char* name) {
    return QStringLiteral(ZARAME_WORKBOOK_TESTDATA "/") + QString::fromUtf8(name);
}

std::unique_ptr<Workbook> Open(const QString& path) {
    return SpreadsheetApplication().Open(path, OpenMode::ReadOnly);
}

// Stands for a cell refused because its text is longer than a name can be.
const QString kTooLong = QStringLiteral("(too long)");

// Column `column` of the active sheet from row 1 to `rows`.
QStringList Column(const QString& path, int column, int rows) {
    const std::unique_ptr<Workbook> book = Open(path);
    QStringList texts;
    for (int row = 1; row <= rows; ++row) {
        try {
            texts << book->ActiveSheet().CellText(row, column);
        } catch (const OverlongCellError&) {
            texts << kTooLong;
        }
    }
    return texts;
}

// The description of the failure that opening raises; empty when it opens.
QString OpenFailure(const QString& path) {
    try {
        Open(path);
    } catch (const RunTimeError& error) {
        return error.description();
    }
    return {};
}

TEST(OpenXmlWorkbook, CellTypesOfTheActiveSheetBehindAHiddenOne) {
    EXPECT_EQ(
        Column(Fixture("openpyxl.xlsx"), 2, 10),
        QStringList({"alpha", FormatNumber(7, u"000", DateSystem::Date1900), "TRUE", "#N/A",
                     FormatNumber(45356, u"yyyy-mm-dd", DateSystem::Date1900), "  padded  ",
                     FormatNumber(2.5, u"General", DateSystem::Date1900), "", "after a gap", ""}));
}

TEST(OpenXmlWorkbook, StrictPackageWithRichPhoneticAndEscapedStrings) {
    const std::unique_ptr<Workbook> book = Open(Fixture("crafted.xlsx"));
    StreamingSheet& sheet = book->ActiveSheet();
    const double noonSerial = QDate(1904, 1, 1).daysTo(QDate(2024, 3, 5)) + 0.5;
    EXPECT_EQ(sheet.CellText(1, 1), "");
    EXPECT_EQ(sheet.CellText(2, 1), "漢 字 ");  // phonetic run left out
    EXPECT_EQ(sheet.CellText(2, 2), "line\r\nbreak_x0041_");
    EXPECT_EQ(sheet.CellText(2, 3), "trimmed");
    EXPECT_EQ(sheet.CellText(3, 2), "inline");
    EXPECT_EQ(sheet.CellText(3, 3), "formula text");
    EXPECT_EQ(sheet.CellText(4, 1), "FALSE");
    EXPECT_EQ(sheet.CellText(4, 2), "#DIV/0!");
    // The code written in the file wins over built-in number 14; the book counts from 1904.
    EXPECT_EQ(sheet.CellText(4, 3),
              FormatNumber(noonSerial, u"yyyy/mm/dd;@", DateSystem::Date1904));
    EXPECT_EQ(sheet.CellText(4, 4), FormatNumber(0, u"yyyy/mm/dd;@", DateSystem::Date1904));
    EXPECT_EQ(sheet.CellText(70000, 2), FormatNumber(42, u"General", DateSystem::Date1904));
    EXPECT_EQ(sheet.CellText(70001, 2), "");
    // Going back up reads the sheet again from the top.
    EXPECT_EQ(sheet.CellText(3, 2), "inline");
}

TEST(OpenXmlWorkbook, WriteOnlyRowsAndRowLimits) {
    const std::unique_ptr<Workbook> book = Open(Fixture("write_only.xlsx"));
    StreamingSheet& sheet = book->ActiveSheet();
    for (int row = 1; row <= 300; row += 37) {
        EXPECT_EQ(sheet.CellText(row, 2), QStringLiteral("name%1").arg(row, 3, 10, QChar(u'0')));
    }
    EXPECT_EQ(sheet.CellText(301, 2), "");
    EXPECT_EQ(sheet.CellText(1048576, 2), "");
    EXPECT_THROW(sheet.CellText(0, 2), RunTimeError);
    EXPECT_THROW(sheet.CellText(1048577, 2), RunTimeError);
    book->Close();
    EXPECT_THROW(book->ActiveSheet(), RunTimeError);
}

TEST(LegacyWorkbook, ActiveSheetBehindAHiddenOneAndLongSharedStrings) {
    const QStringList column = Column(Fixture("xlwt.xls"), 2, 8);
    EXPECT_EQ(column.mid(0, 5),
              QStringList({"alpha", FormatNumber(7, u"000", DateSystem::Date1900), "TRUE",
                           FormatNumber(2.5, u"General", DateSystem::Date1900),
                           FormatNumber(123456789, u"General", DateSystem::Date1900)}));
    // 9,200 characters that fill three records (refused as a name), then the strings after it.
    EXPECT_EQ(column[5], kTooLong);
    EXPECT_EQ(column.mid(6), QStringList({"名前6", "名前7"}));
}

TEST(LegacyWorkbook, CachedFormulaResults) {
    EXPECT_EQ(Column(Fixture("libreoffice.xls"), 2, 7),
              QStringList({"abcdef", "TRUE", "#N/A",
                           FormatNumber(42, u"General", DateSystem::Date1900), kTooLong, "", ""}));
    const std::unique_ptr<Workbook> book = Open(Fixture("libreoffice.xls"));
    EXPECT_THROW(book->ActiveSheet().CellText(65537, 1), RunTimeError);
}

TEST(OpenDocumentWorkbook, RepeatsCoveredCellsAndParagraphs) {
    const std::unique_ptr<Workbook> book = Open(Fixture("crafted.ods"));
    StreamingSheet& sheet = book->ActiveSheet();
    EXPECT_EQ(sheet.CellText(2, 2), "twice");
    EXPECT_EQ(sheet.CellText(2, 3), "c");
    EXPECT_EQ(sheet.CellText(3, 1), "merged");
    EXPECT_EQ(sheet.CellText(3, 2), "hidden under");
    EXPECT_EQ(sheet.CellText(3, 3), "x   y\tz\nsplink\nend");
    // A row repeated to the end of the sheet is read once, not row by row.
    EXPECT_EQ(sheet.CellText(4, 1), "");
    EXPECT_EQ(sheet.CellText(1048576, 1), "");
    EXPECT_EQ(Column(Fixture("missing_active.ods"), 1, 1), QStringList{"not active"});
    EXPECT_EQ(Column(Fixture("libreoffice.ods"), 2, 6),
              QStringList({"abcdef", "TRUE", "#N/A", "42", kTooLong, ""}));
}

TEST(TextWorkbook, QuotedFieldsEncodingsAndNoNumberConversion) {
    EXPECT_EQ(Column(Fixture("names.csv"), 1, 5),
              QStringList({"name", "a \"b\"", "two\nlines", "", ""}));
    EXPECT_EQ(Column(Fixture("names.csv"), 2, 4),
              QStringList({"quoted, with comma", "007", "", "x"}));
    EXPECT_EQ(Column(Fixture("names.tsv"), 2, 1), QStringList{"ｂ"});
    EXPECT_EQ(Column(Fixture("sjis.csv"), 2, 2), QStringList({"ascii", "漢字"}));
}

TEST(TextWorkbook, LineEndsInsideAndOutsideQuotesAndColumnsBeyondTheSheet) {
    QTemporaryDir folder;
    const QString path = folder.filePath("lines.csv");
    testing::WriteFile(path, "\"a\r\nb\",1\rc,2\r\n" + QByteArray(20000, ',') + "far\nlast,3");
    EXPECT_EQ(Column(path, 1, 5), QStringList({"a\r\nb", "c", "", "last", ""}));
    EXPECT_EQ(Column(path, 2, 4), QStringList({"1", "2", "", "3"}));
    testing::WriteFile(path, "\"" + QByteArray(17 << 20, 'x'));
    EXPECT_THROW(Column(path, 1, 1), RunTimeError);  // a quote that never closes
}

class UnopenableWorkbook : public ::testing::Test {
protected:
    QString Write(const char* name, const QByteArray& content) {
        const QString path = temporary.filePath(QString::fromUtf8(name));
        testing::WriteFile(path, content);
        return path;
    }
    QTemporaryDir temporary;
};

TEST_F(UnopenableWorkbook, EveryCauseIsARunTimeErrorNamingIt) {
    EXPECT_TRUE(OpenFailure(temporary.filePath("missing.xlsx")).contains("見つかりません"));
    EXPECT_TRUE(OpenFailure(temporary.path()).contains("通常のファイルではありません"));
    // A FIFO without a writer would block a plain open for ever.
    const QString fifo = temporary.filePath("fifo.xlsx");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_TRUE(OpenFailure(fifo).contains("通常のファイルではありません"));
    EXPECT_TRUE(OpenFailure("/dev/zero").contains("通常のファイルではありません"));
    EXPECT_TRUE(OpenFailure(Fixture("bomb.xlsx")).contains("大きすぎます"));
    EXPECT_TRUE(OpenFailure(Fixture("laughs.xlsx")).contains("壊れています"));
}

// A zip archive written by libzip, the members stored as given.
void WriteZip(const QString& path, const std::vector<std::pair<const char*, QByteArray>>& members) {
    int error = 0;
    zip* archive = zip_open(path.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, content] : members) {
        zip_source* source = zip_source_buffer(archive, content.constData(),
                                               static_cast<zip_uint64_t>(content.size()), 0);
        ASSERT_GE(zip_file_add(archive, name, source, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

TEST_F(UnopenableWorkbook, EachKindOfBookNotReadHasItsOwnCause) {
    const QString binary = temporary.filePath("binary.xlsb");
    WriteZip(binary, {{"[Content_Types].xml", "<Types/>"}, {"xl/workbook.bin", "\x83\x01\x00"}});
    const QString document = temporary.filePath("letter.xlsx");
    WriteZip(document, {{"word/document.xml", "<w:document/>"}});
    QByteArray noise(4096, Qt::Uninitialized);
    QRandomGenerator(16).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    QByteArray crafted = testing::ReadFile(Fixture("crafted.xlsx"));
    QByteArray flipped = crafted;
    flipped[flipped.size() / 3] = flipped[flipped.size() / 3] ^ 0x55;
    const QByteArray legacy = testing::ReadFile(Fixture("xlwt.xls"));
    const QString old = QStringLiteral("Excel 4.0 以前の形式のブックは読めません");
    const QString damaged = QStringLiteral("ブックが壊れています (");
    const struct {
        QString path;
        QString cause;  // the description up to the book's path
    } cases[] = {
        {binary, QStringLiteral("バイナリ形式(.xlsb)のブックは読めません")},
        // Excel 2.1, 3.0 and 4.0 worksheets, and an Excel 4.0 workbook, whatever their names.
        {Write("v2.xls", QByteArray("\x09\x00\x04\x00\x00\x00\x10\x00\x0A\x00\x00\x00", 12)), old},
        {Write("v3.xls", QByteArray("\x09\x02\x06\x00\x00\x00\x10\x00\x00\x00", 10)), old},
        {Write("v4.xlw", QByteArray("\x09\x04\x06\x00\x00\x00\x00\x01\x00\x00", 10)), old},
        {Write("v4.csv", QByteArray("\x09\x04\x06\x00\x00\x00\x10\x00\x00\x00", 10)), old},
        {Write("truncated.xlsx", crafted.left(crafted.size() / 2)), damaged},
        {Write("flipped.xlsx", flipped), damaged},
        {Write("cut.xls", legacy.left(legacy.size() / 2)), damaged},
        {Write("noise.xls", noise), damaged + QStringLiteral("形式を判別できません)")},
        {Write("empty.xlsx", ""), damaged + QStringLiteral("空のファイルです)")},
        // Content that is no book under a name that claims none either.
        {Write("names.txt", "a,b\n"), QStringLiteral("ブックの形式ではありません")},
        {Write("export.xls", "<table><tr><td>a</td></tr></table>\r\n"),
         QStringLiteral("ブックの形式ではありません")},
        {Write("noise", noise), QStringLiteral("ブックの形式ではありません")},
        {document, QStringLiteral("ブックの形式ではありません")},
    };
    for (const auto& [path, cause] : cases) {
        const QString failure = OpenFailure(path);
        EXPECT_TRUE(failure.startsWith(cause)) << failure.toStdString();
        EXPECT_TRUE(failure.endsWith(QStringLiteral(": ") + path)) << failure.toStdString();
    }
    // A damaged part met during a walk, not while opening, names the part only.
    const std::unique_ptr<Workbook> book = Open(Fixture("long_token.xlsx"));
    try {
        book->ActiveSheet().CellText(1, 1);
        ADD_FAILURE();
    } catch (const RunTimeError& error) {
        EXPECT_FALSE(error.description().contains(Fixture("long_token.xlsx")));
    }
}

// A legacy workbook with one link of its allocation table changed.
QByteArray WithFatEntry(QByteArray file, std::uint32_t sector, std::uint32_t next) {
    const std::uint32_t firstFatSector = qFromLittleEndian<std::uint32_t>(file.constData() + 0x4C);
    qToLittleEndian(next, file.data() + (firstFatSector + 1) * 512 + 4 * sector);
    return file;
}

TEST_F(UnopenableWorkbook, BrokenCompoundFilesAreDamageNotHangs) {
    const QByteArray legacy = testing::ReadFile(Fixture("xlwt.xls"));
    const std::uint32_t directory = qFromLittleEndian<std::uint32_t>(legacy.constData() + 0x30);
    EXPECT_TRUE(OpenFailure(Write("loop.xls", WithFatEntry(legacy, directory, directory)))
                    .contains("循環"));
    EXPECT_TRUE(OpenFailure(Write("far.xls", WithFatEntry(legacy, directory, 0x7FFFFFF0)))
                    .contains("範囲外"));
    EXPECT_FALSE(OpenFailure(Write("header.xls", legacy.left(100))).isEmpty());
    // The record after the workbook's BOF turned into FILEPASS: a password-protected book.
    QByteArray protectedBook = legacy;
    ASSERT_EQ(protectedBook.mid(512, 2), QByteArray("\x09\x08"));
    protectedBook[532] = 0x2F;
    protectedBook[533] = 0;
    EXPECT_TRUE(OpenFailure(Write("protected.xls", protectedBook)).contains("パスワード"));
}

}  // namespace
}  // namespace zarame::workbook
