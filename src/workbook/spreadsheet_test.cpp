// The reader through the connection, on files made by independent writers (see
// testdata/make_fixtures.py) and on hostile files made here.
#include "workbook/spreadsheet.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDate>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include "numformat/cell_format.h"
#include "testing/book_reading.h"
#include "testing/legacy_book.h"
#include "testing/test_support.h"
#include "testing/zip_writer.h"
#include "workbook/streaming_sheet.h"

namespace zarame::workbook {
namespace {

using numformat::BuiltInFormatCode;
using numformat::DateSystem;
using numformat::FormatNumber;
using testing::Column;
using testing::kTooLong;
using testing::ReadFailure;

QString Fixture(const char* name) {
    return QStringLiteral(ZARAME_WORKBOOK_TESTDATA "/") + QString::fromUtf8(name);
}

std::unique_ptr<Workbook> Open(const QString& path) {
    return LoadWorkbook(path);
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

// Excel 95 books as Gnumeric writes them; the second patched to code page 932 with Japanese
// (testdata/make_legacy_fixtures.py), in the 1904 date system, its Book stream in the mini stream.
TEST(LegacyWorkbook, Excel95BooksFromGnumeric) {
    EXPECT_EQ(Column(Fixture("gnumeric95.xls"), 2, 10),
              QStringList({"café", "007", "1,234.50", "2024/03/05", "abcd", "TRUE", "#DIV/0!", "42",
                           "x", "1500 yen"}));
    EXPECT_EQ(Column(Fixture("gnumeric95_932.xls"), 2, 13),
              QStringList({"漢字の名前", "007", "1,234.50", "2024/03/05", "名前", "TRUE", "#DIV/0!",
                           "42", "ｶﾀｶﾅ", "1500円", "", "20", ""}));
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
    // One encoding for the whole file: 凜子 in CP932 is valid UTF-8 by accident, 山田 is not.
    QTemporaryDir folder;
    const QString path = folder.filePath("names.csv");
    testing::WriteFile(path, "\xEA\xA3\x8E\x71\r\n\x8E\x52\x93\x63\r\n");
    EXPECT_EQ(Column(path, 1, 2), QStringList({"凜子", "山田"}));
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
    EXPECT_TRUE(ReadFailure(temporary.filePath("missing.xlsx")).contains("見つかりません"));
    EXPECT_TRUE(ReadFailure(temporary.path()).contains("通常のファイルではありません"));
    // A FIFO without a writer would block a plain open for ever.
    const QString fifo = temporary.filePath("fifo.xlsx");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_TRUE(ReadFailure(fifo).contains("通常のファイルではありません"));
    EXPECT_TRUE(ReadFailure("/dev/zero").contains("通常のファイルではありません"));
    EXPECT_TRUE(ReadFailure(Fixture("bomb.xlsx")).contains("大きすぎます"));
    EXPECT_TRUE(ReadFailure(Fixture("laughs.xlsx")).contains("壊れています"));
}

TEST_F(UnopenableWorkbook, EachKindOfBookNotReadHasItsOwnCause) {
    const QString binary = temporary.filePath("binary.xlsb");
    ASSERT_TRUE(testing::WriteZip(
        binary, {{"[Content_Types].xml", "<Types/>"}, {"xl/workbook.bin", "\x83\x01\x00"}}));
    const QString document = temporary.filePath("letter.xlsx");
    ASSERT_TRUE(testing::WriteZip(document, {{"word/document.xml", "<w:document/>"}}));
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
        const QString failure = ReadFailure(path);
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
    EXPECT_TRUE(ReadFailure(Write("loop.xls", WithFatEntry(legacy, directory, directory)))
                    .contains("循環"));
    EXPECT_TRUE(ReadFailure(Write("far.xls", WithFatEntry(legacy, directory, 0x7FFFFFF0)))
                    .contains("範囲外"));
    EXPECT_FALSE(ReadFailure(Write("header.xls", legacy.left(100))).isEmpty());
    // The record after the workbook's BOF turned into FILEPASS: a password-protected book.
    QByteArray protectedBook = legacy;
    ASSERT_EQ(protectedBook.mid(512, 2), QByteArray("\x09\x08"));
    protectedBook[532] = 0x2F;
    protectedBook[533] = 0;
    EXPECT_TRUE(ReadFailure(Write("protected.xls", protectedBook)).contains("パスワード"));
}

// Books built record by record, for shapes no writer produces.
class CraftedLegacyWorkbook : public UnopenableWorkbook {};

// Shapes that once cost minutes or gigabytes, scaled down: each must still read right.
TEST_F(CraftedLegacyWorkbook, HostileLegacyShapesReadRight) {
    namespace book = test_books;
    const auto legacy = [&](const char* name, const QByteArray& globals, const QByteArray& sheet) {
        return Write(
            name, book::CompoundFileOf({{"Workbook", book::BookStream(0x0600, globals, {sheet})}}));
    };
    const auto rk = [](int value) {
        return book::Uint16(0) + book::Uint32(static_cast<std::uint32_t>(value) << 2 | 2);
    };
    const auto label = [](int row, int column, const QByteArray& text) {
        return book::Record(0x0204, book::CellHeader(row, column) + book::Latin1String(text));
    };

    // A MULRK row, then a CONTINUE that must not be taken for more of its cells.
    QByteArray cells = book::CellHeader(0, 0).left(4);
    for (int column = 0; column < 200; ++column) {
        cells += rk(column);
    }
    QByteArray mulrk = book::Record(0x00BD, cells + QByteArray("\xC7\x00", 2)) +
                       book::Record(0x003C, QByteArray(6000, '\x41')) + label(1, 1, "after");
    EXPECT_EQ(Column(legacy("mulrk.xls", {}, mulrk), 2, 3), QStringList({"1", "after", ""}));
    EXPECT_EQ(Column(legacy("mulrk.xls", {}, mulrk), 200, 1), QStringList{"199"});
    EXPECT_EQ(Column(legacy("mulrk.xls", {}, mulrk), 201, 1), QStringList{""});

    // 3,000 shared strings over a CONTINUE every 7 strings, some split where their width changes.
    QByteArray strings = QByteArray("\xB8\x0B\0\0\xB8\x0B\0\0", 8);
    QByteArray table;
    for (int index = 0; index < 3000; ++index) {
        const QByteArray text = "s" + QByteArray::number(index);
        if (index % 7 == 6) {
            // Count, flag and first character here, the rest two bytes wide after the boundary.
            strings += book::Latin1String(text).left(4);
            table += book::Record(table.isEmpty() ? 0x00FC : 0x003C, strings);
            strings = "\x01";
            for (char character : text.mid(1)) {
                strings += character;
                strings += '\0';
            }
            continue;
        }
        strings += book::Latin1String(text);
    }
    table += book::Record(0x003C, strings);
    QByteArray sharedCells;
    for (int row : {0, 6, 2999}) {
        sharedCells += book::Record(
            0x00FD, book::CellHeader(row, 1) + book::Uint32(static_cast<std::uint32_t>(row)));
    }
    const QString shared = legacy("shared.xls", table, sharedCells);
    EXPECT_EQ(Column(shared, 2, 7), QStringList({"s0", "", "", "", "", "", "s6"}));
    EXPECT_EQ(Open(shared)->ActiveSheet().CellText(3000, 2), "s2999");

    // A row of cells in every column, only one of them asked for; the next row has column A only.
    QByteArray wide;
    for (int column = 0; column < 65536; column += 1) {
        wide += label(0, column, column == 1 ? "wanted" : "w");
    }
    wide += label(1, 0, "a") + label(2, 1, "below");
    EXPECT_EQ(Column(legacy("wide.xls", {}, wide), 2, 3), QStringList({"wanted", "", "below"}));
}

// A container that claims far more than it holds: an allocation table of a million sectors
// through a DIFAT that points to itself, in a sparse file of 512 MiB.
TEST_F(CraftedLegacyWorkbook, SparseCompoundFileCostsOnlyWhatIsRead) {
    namespace book = test_books;
    QByteArray file = book::CompoundFileOf(
        {{"Workbook", book::BookStream(0x0600, {},
                                       {book::Record(0x0204, book::CellHeader(0, 1) +
                                                                 book::Latin1String("name"))})}});
    const std::uint32_t difat = static_cast<std::uint32_t>(file.size() / 512 - 1);
    qToLittleEndian<std::uint32_t>(1000000, file.data() + 0x2C);
    qToLittleEndian<std::uint32_t>(difat, file.data() + 0x44);
    for (int index = 0; index < 109; ++index) {
        qToLittleEndian<std::uint32_t>(0, file.data() + 0x4C + 4 * index);
    }
    file.append(QByteArray(508, '\0'));
    file.resize(file.size() + 4);
    qToLittleEndian<std::uint32_t>(difat, file.data() + file.size() - 4);
    const QString path = Write("sparse.xls", file);
    QFile(path).resize(512 << 20);
    EXPECT_EQ(Column(path, 2, 2), QStringList({"name", ""}));
}

TEST_F(UnopenableWorkbook, CompoundFilesWithoutAWorkbookSayWhy) {
    namespace book = test_books;
    EXPECT_TRUE(ReadFailure(Write("protected.xlsx",
                                  book::CompoundFileOf({{"EncryptionInfo", "info"},
                                                        {"EncryptedPackage", "package"}})))
                    .startsWith("パスワードで保護されたブックは開けません: "));
    EXPECT_TRUE(ReadFailure(Write("letter.xls", book::CompoundFileOf({{"WordDocument", "text"}})))
                    .startsWith("Excel のブックが入っていない Office 文書です: "));
}

// An Excel 95 book of one text cell, its bytes in the code page a CODEPAGE record names.
QByteArray Excel95Book(int codePage, const QByteArray& text, int count) {
    namespace book = test_books;
    const QByteArray codePageRecord =
        codePage > 0 ? book::Record(0x0042, book::Uint16(codePage)) : QByteArray();
    return book::CompoundFileOf(
        {{"Book", book::BookStream(0x0500, codePageRecord,
                                   {book::Record(0x0204, book::CellHeader(0, 0) +
                                                             book::Uint16(count) + text)})}});
}

TEST_F(CraftedLegacyWorkbook, Excel95StringsInTheirCodePage) {
    const struct {
        int codePage;  // 0: no CODEPAGE record
        QByteArray bytes;
        QString text;
    } cases[] = {
        {0, "caf\xe9", "café"},
        {1252, "\x80", "€"},
        {932, "\x8a\xbf\x8e\x9a\xb6\xc5", "漢字ｶﾅ"},
        {10001, "\x8a\xbf\x8e\x9a", "漢字"},
        {1251, "\xcf\xf0\xe8", "При"},
        {1253, "\xc1", "Α"},
        {949, "\xc7\xd1", "한"},
        {936, "\xba\xba", "汉"},
        {950, "\xa4\xa4", "中"},
        {850, "\x82", "é"},
        {10000, "\x8e", "é"},
        {12345, "caf\xe9", "café"},  // a code page nobody knows: as 1252
    };
    for (const auto& each : cases) {
        const QString path = Write(
            "cp.xls", Excel95Book(each.codePage, each.bytes, static_cast<int>(each.bytes.size())));
        EXPECT_EQ(Column(path, 1, 1), QStringList{each.text}) << each.codePage;
    }
    // UTF-16: the count is of characters.
    const QString wide =
        Write("utf16.xls", Excel95Book(1200, QByteArray("\x22\x6f\x57\x5b", 4), 2));
    EXPECT_EQ(Column(wide, 1, 1), QStringList{"漢字"});
}

// The BIFF5 forms Gnumeric does not write: rich text, RK runs, blanks, a formula whose text
// comes after another record, a format code in code page 932, the second sheet active.
TEST_F(CraftedLegacyWorkbook, Excel95CellRecords) {
    namespace book = test_books;
    const auto u16 = book::Uint16;
    const QByteArray yen = "0\"\x89\x7e\"";  // 0"円"
    const QByteArray globals =
        book::Record(0x0042, u16(932)) + book::Record(0x0022, u16(1)) +
        book::Record(0x003D, QByteArray(10, '\0') + u16(1) + QByteArray(6, '\0')) +
        book::Record(0x041E, u16(164) + char(yen.size()) + yen) +
        book::Record(0x00E0, QByteArray(16, '\0')) +
        book::Record(0x00E0, u16(0) + u16(164) + QByteArray(12, '\0'));
    QByteArray rk;
    for (int value : {1, 2, 3}) {
        rk += u16(0) + u16(value << 2 | 2) + u16(0);  // style, then the RK's two halves
    }
    QByteArray formula = book::CellHeader(3, 1) + QByteArray("\0\0\0\0\0\0\xff\xff", 8) +
                         QByteArray(6, '\0') + u16(0);
    const QByteArray sheet =
        book::Record(0x00D6, book::CellHeader(0, 1) + u16(6) + "\x83\x8a\x83\x62\x83\x60" +
                                 QByteArray("\x01\x00\x01", 3)) +
        book::Record(0x00BD, u16(1) + u16(0) + rk + u16(2)) +
        book::Record(0x00BE, u16(2) + u16(0) + u16(0) + u16(0) + u16(0) + u16(3)) +
        book::Record(0x0201, book::CellHeader(2, 1)) + book::Record(0x0006, formula) +
        book::Record(0x04BC, QByteArray(10, '\0')) +
        book::Record(0x0207, u16(4) + "\x90\x94\x8e\xae") +
        book::Record(0x0205, book::CellHeader(4, 1) + QByteArray("\x2a\x01", 2)) +
        book::Record(0x0203, book::CellHeader(5, 1, 1) + QByteArray("\0\0\0\0\0\x70\x97\x40", 8));
    const QString path = Write(
        "records.xls",
        book::CompoundFileOf(
            {{"Book", book::BookStream(
                          0x0500, globals,
                          {book::Record(0x0204, book::CellHeader(0, 1) + u16(1) + "x"), sheet})}}));
    EXPECT_EQ(Column(path, 2, 7), QStringList({"リッチ", "2", "", "数式", "#N/A", "1500円", ""}));
}

}  // namespace
}  // namespace zarame::workbook
