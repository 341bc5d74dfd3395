#include "workbook/streaming_sheet.h"

#include <gtest/gtest.h>

#include "common/run_time_error.h"
#include "workbook/ooxml_package.h"
#include "workbook/shared_strings.h"

namespace zarame::workbook {
namespace {

// Rows given by a test: each row's cells hold their column number as text.
class ListedRows final : public RowCursor {
public:
    explicit ListedRows(std::vector<SheetRow> rows) : rows_(std::move(rows)) {}
    bool Next(SheetRow& row, std::int64_t onlyColumn) override {
        onlyColumns.push_back(onlyColumn);
        if (next_ >= rows_.size()) {
            return false;
        }
        row = rows_[next_++];
        return true;
    }
    void Restart() override {
        ++restarts;
        next_ = 0;
    }
    int restarts = 0;
    std::vector<std::int64_t> onlyColumns;

private:
    std::vector<SheetRow> rows_;
    std::size_t next_ = 0;
};

SheetRow Row(std::int64_t row, std::int64_t count, std::vector<std::int64_t> columns) {
    SheetRow sheetRow{row, count, {}};
    for (std::int64_t column : columns) {
        CellValue value{CellValue::Kind::Text, QString::number(column), 0, -1};
        sheetRow.cells.push_back(CellRun{column, 1, value});
    }
    return sheetRow;
}

TEST(StreamingSheet, GapsRepeatsOutOfOrderRowsAndGoingBack) {
    auto rows = std::make_unique<ListedRows>(
        std::vector<SheetRow>{Row(2, 1, {2}), Row(4, 3, {1, 2}), Row(3, 1, {2}), Row(9, 1, {2})});
    ListedRows& cursor = *rows;
    StreamingSheet sheet(std::move(rows), CellFormats{}, SheetLimits{20, 5});
    EXPECT_EQ(sheet.CellText(1, 2), "");
    EXPECT_EQ(sheet.CellText(2, 2), "2");
    EXPECT_EQ(sheet.CellText(3, 2), "");
    EXPECT_EQ(sheet.CellText(6, 2), "2");  // the third of a run of three
    EXPECT_EQ(sheet.CellText(8, 2), "");   // the row 3 that came after row 6 is dropped
    EXPECT_EQ(sheet.CellText(9, 2), "2");
    EXPECT_EQ(sheet.CellText(20, 2), "");
    EXPECT_EQ(cursor.restarts, 0);
    EXPECT_EQ(cursor.onlyColumns.front(), 2);

    EXPECT_EQ(sheet.CellText(2, 2), "2");
    EXPECT_EQ(cursor.restarts, 1);
    // A second column reads every column from then on.
    EXPECT_EQ(sheet.CellText(4, 1), "1");
    EXPECT_EQ(cursor.onlyColumns.back(), 0);

    EXPECT_THROW(sheet.CellText(0, 1), RunTimeError);
    EXPECT_THROW(sheet.CellText(21, 1), RunTimeError);
    EXPECT_THROW(sheet.CellText(1, 6), RunTimeError);
}

// A displayed text is a file name: over 255 bytes, however it got there, the cell is refused.
TEST(StreamingSheet, TextsLongerThanAFileNameAreRefused) {
    const QString megabyte(1 << 20, u'x');
    const struct {
        QString text;
        int style;
        bool refused;
    } kCells[] = {
        {QString(255, u'x'), -1, false},
        {QString(256, u'x'), -1, true},
        {QString(85, u'漢'), -1, false},  // 255 bytes
        {QString(86, u'漢'), -1, true},
        {QString(255, QChar(0xDCFF)), -1, false},  // escaped bytes: one byte each
        {megabyte, -1, true},
        {megabyte.left(2), 0, true},  // 1,024 @: a short text shown 1,024 times
    };
    std::vector<SheetRow> rows;
    for (const auto& cell : kCells) {
        SheetRow row{static_cast<std::int64_t>(rows.size()) + 1, 1, {}};
        row.cells.push_back({28, 1, {CellValue::Kind::Text, cell.text, 0, cell.style}});
        rows.push_back(std::move(row));
    }
    StreamingSheet sheet(std::make_unique<ListedRows>(std::move(rows)),
                         CellFormats{{QString(1024, u'@')}}, kOpenXmlLimits);
    for (std::int64_t row = 1; row <= std::ssize(kCells); ++row) {
        const auto& cell = kCells[row - 1];
        try {
            EXPECT_EQ(sheet.CellText(row, 28), cell.text) << row;
            EXPECT_FALSE(cell.refused) << row;
        } catch (const OverlongCellError& error) {
            EXPECT_TRUE(cell.refused) << row;
            EXPECT_TRUE(error.description().contains(QStringLiteral("AB%1 ").arg(row))) << row;
        }
    }
}

TEST(SharedStrings, StringsAcrossBlocksAndEscapes) {
    SharedStrings strings;
    const QByteArray filler(4 * 1024 * 1024, 'f');  // exactly one block
    strings.AppendUtf8(filler);
    strings.AppendUtf8("");
    const QString crossing = QString(2 * 1024 * 1024, u'漢');  // 6 MiB of UTF-8: a block and more
    strings.Append(crossing);
    strings.AppendUtf8("a_x0041__x005F_x0042_");
    strings.Append(u"_x0041_");  // a legacy book's text is stored as written
    EXPECT_EQ(strings.At(0).size(), filler.size());
    EXPECT_EQ(strings.At(1), "");
    EXPECT_EQ(strings.At(2), crossing);
    EXPECT_EQ(strings.At(3), "aA_x0042_");
    EXPECT_EQ(strings.At(4), "_x0041_");
    EXPECT_THROW(strings.At(5), RunTimeError);
}

TEST(SharedStrings, TextAndIndexCountAgainstOneBudget) {
    constexpr std::uint64_t budget = 16 << 20;
    const auto causeWhenFilled = [&](const QByteArray& item) {
        SharedStrings strings(QStringLiteral("/books/big.xlsx"), budget);
        try {
            for (std::uint64_t added = 0; added <= budget; ++added) {
                strings.AppendUtf8(item);
            }
        } catch (const RunTimeError& error) {
            EXPECT_LE(strings.size() * (item.size() + 4), budget);
            return error.description();
        }
        return QString();
    };
    const QString cause = QStringLiteral("共有文字列が大きすぎるため読めません: /books/big.xlsx");
    EXPECT_EQ(causeWhenFilled(QByteArray(100000, 'x')), cause);
    EXPECT_EQ(causeWhenFilled(QByteArray()), cause);  // the index alone
}

TEST(PackageTargets, RelativeAbsoluteAndEscaped) {
    EXPECT_EQ(ResolveTarget("xl/workbook.xml", "worksheets/sheet1.xml"),
              "xl/worksheets/sheet1.xml");
    EXPECT_EQ(ResolveTarget("xl/workbook.xml", "/xl/worksheets/a%20b.xml"),
              "xl/worksheets/a b.xml");
    EXPECT_EQ(ResolveTarget("xl/workbook.xml", "../../../x.xml"), "x.xml");
    EXPECT_EQ(ResolveTarget("", "./xl//workbook.xml"), "xl/workbook.xml");
}

}  // namespace
}  // namespace zarame::workbook
