#include "window/start_cell.h"

#include <gtest/gtest.h>
#include <QString>

#include "common/run_time_error.h"

namespace zarame {
namespace {

constexpr CellReach kWindow = CellReach::WindowField;
constexpr CellReach kSheet = CellReach::WholeSheet;

TEST(StartCell, EachReachTakesItsOwnCells) {
    const struct {
        const char16_t* text;
        CellReach reach;
        int column;  // 0: refused
        int row;
    } cases[] = {
        {u"b2", kWindow, 2, 2},
        {u"Z0", kWindow, 26, 0},           // the window lets row 0 through; the walk asks for it
        {u"\uFF22\uFF12", kWindow, 2, 2},  // full-width, as an input method types it
        {u"\uFF41\uFF11", kWindow, 1, 1},
        {u"B10", kWindow, 0, 0},
        {u"AA1", kWindow, 0, 0},
        {u"", kWindow, 0, 0},
        {u"\u01312", kWindow, 0, 0},  // a dotless i upper-cases into I, but is no column
        {u"2B", kWindow, 0, 0},
        {u"A1", kSheet, 1, 1},
        {u"b2", kSheet, 2, 2},
        {u"AB12", kSheet, 28, 12},
        {u"xfd1048576", kSheet, 16384, 1048576},
        {u"\uFF58\uFF26\uFF44\uFF11\uFF10\uFF14\uFF18\uFF15\uFF17\uFF16", kSheet, 16384, 1048576},
        {u"A01", kSheet, 1, 1},
        {u"XFE1", kSheet, 0, 0},
        {u"AAAA1", kSheet, 0, 0},
        {u"A0", kSheet, 0, 0},
        {u"A1048577", kSheet, 0, 0},
        {u"A99999999999999999999", kSheet, 0, 0},
        {u"A", kSheet, 0, 0},
        {u"12", kSheet, 0, 0},
        {u" A1", kSheet, 0, 0},
        {u"A1 ", kSheet, 0, 0},
        {u"$A$1", kSheet, 0, 0},
        {u"\u0131A1", kSheet, 0, 0},
    };
    for (const auto& c : cases) {
        const std::optional<StartCell> cell = ParseStartCell(c.text, c.reach);
        const QString shown = QString::fromUtf16(c.text);
        if (c.column == 0) {
            EXPECT_FALSE(cell) << shown.toStdString();
            continue;
        }
        ASSERT_TRUE(cell) << shown.toStdString();
        EXPECT_EQ(cell->column, c.column) << shown.toStdString();
        EXPECT_EQ(cell->row, c.row) << shown.toStdString();
    }
}

TEST(StartCell, BlankLimitsWithinReach) {
    const struct {
        const char16_t* text;
        CellReach reach;
        int limit;  // 0: refused
    } cases[] = {
        {u"3", kWindow, 3},      {u"\uFF13", kWindow, 3}, {u"1.5", kWindow, 2},
        {u"0.5", kWindow, 0},    {u"-3", kWindow, 0},     {u"x", kWindow, 0},
        {u"", kWindow, 0},       {u"1", kSheet, 1},       {u"1,048,576", kSheet, 1048576},
        {u"1048577", kSheet, 0}, {u"0", kSheet, 0},       {u"40000", kSheet, 40000},
        {u"1e300", kSheet, 0},   {u"x", kSheet, 0},
    };
    for (const auto& c : cases) {
        const std::optional<std::int32_t> limit = ParseBlankLimit(c.text, c.reach);
        EXPECT_EQ(limit.value_or(0), c.limit) << QString::fromUtf16(c.text).toStdString();
    }
    // The window's field converts to 16 bits: beyond them is an overflow, not a refusal.
    EXPECT_THROW(ParseBlankLimit(u"40000", kWindow), RunTimeError);
}

}  // namespace
}  // namespace zarame
