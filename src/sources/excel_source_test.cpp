#include "sources/excel_source.h"

#include <gtest/gtest.h>
#include <QStringList>

#include "testing/test_support.h"
#include "workbook/spreadsheet.h"

namespace zarame {
namespace {

using testing::Names;
using testing::WriteFile;

// The names down one column of a CSV file (column A unless the start cell says otherwise).
class WorkbookColumnNamesTest : public ::testing::Test {
protected:
    QStringList Read(const QByteArray& csv) {
        const QString path = temporary_.filePath("names.csv");
        WriteFile(path, csv);
        book_ = workbook::LoadWorkbook(path);
        WorkbookColumnNames names(book_->ActiveSheet(), column_);
        return Names(names);
    }

    QTemporaryDir temporary_;
    WorkbookColumn column_{QString(), {1, 1}, 3};
    std::unique_ptr<workbook::Workbook> book_;
};

TEST_F(WorkbookColumnNamesTest, BlankRuleEndsAtTheLimitAndCountsLeadingBlanks) {
    // Every blank cell before the limit is a step; the one that reaches it ends the names.
    EXPECT_EQ(Read("x\n\ny\n\n\n\nnever\n"), (QStringList{"x", "", "y", "", ""}));
    EXPECT_EQ(Read("\n  \n\u3000\nlate\n"), QStringList({"", ""}));  // spaces only are blank
    column_.blankLimit = 1;
    EXPECT_EQ(Read("x\n\ny\n"), QStringList{"x"});
}

TEST_F(WorkbookColumnNamesTest, StartCellColumnAndRowAreReadAndNamesKeepTheirBlanks) {
    column_.startCell = {2, 2};
    EXPECT_EQ(Read("skip,skip\nno, lead\nno,next \n"), (QStringList{" lead", "next ", "", ""}));
}

TEST_F(WorkbookColumnNamesTest, RowZeroIsRaised) {
    column_.startCell.row = 0;  // the window's field lets row 0 through
    EXPECT_THROW(Read("a\n"), RunTimeError);
}

}  // namespace
}  // namespace zarame
