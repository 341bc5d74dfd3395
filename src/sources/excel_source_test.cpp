#include "sources/excel_source.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QStringList>

#include "run/progress_log.h"
#include "testing/test_support.h"
#include "window/window_model.h"
#include "workbook/spreadsheet.h"

namespace zarame {
namespace {

using testing::ContextFixture;
using testing::FolderEntries;
using testing::WriteFile;

// The walk over a one-column sheet (a CSV file, column A unless the start cell says otherwise),
// making folders.
class ExcelSourceTest : public ::testing::Test {
protected:
    ExcelSourceTest() {
        fixture_.request.items.kind = ItemKind::Folder;
        Column() = {QString(), {1, 1}, 3};
    }
    WorkbookColumn& Column() { return fixture_.request.names.workbookColumn; }

    WalkEnd Walk(const QByteArray& csv) {
        const QString path = fixture_.temporary.filePath("names.csv");
        WriteFile(path, csv);
        book_ = workbook::SpreadsheetApplication().Open(path, workbook::OpenMode::ReadOnly);
        RunContext context = fixture_.Context();
        return CreateFromExcel(context, fixture_.request, *book_);
    }

    QStringList Log() const { return fixture_.model.logLines(); }

    ContextFixture fixture_;
    std::unique_ptr<workbook::Workbook> book_;
};

TEST_F(ExcelSourceTest, BlankRuleEndsAtTheLimitAndCountsLeadingBlanks) {
    EXPECT_EQ(Walk("x\n\ny\n\n\n\nnever\n"), WalkEnd::Finished);
    EXPECT_EQ(FolderEntries(fixture_.destination), QStringList({"x", "y"}));
    EXPECT_EQ(Log(), QStringList({"xを作成しました", "yを作成しました"}));
    // Every cell read moves the bar, except the one that ends the walk.
    EXPECT_EQ(fixture_.host.pumps, 5);
    EXPECT_EQ(fixture_.model.progress().value, 5.0f);

    fixture_.model.clearLog();
    EXPECT_EQ(Walk("\n  \n\u3000\nlate\n"), WalkEnd::Finished);  // spaces only are blank
    EXPECT_TRUE(Log().isEmpty());

    Column().blankLimit = 1;
    EXPECT_EQ(Walk("x\n\ny\n"), WalkEnd::Finished);
    EXPECT_EQ(Log(), QStringList{"xは既に存在しています"});
}

TEST_F(ExcelSourceTest, StartCellColumnAndRowAreReadAndNamesKeepTheirBlanks) {
    Column().startCell = {2, 2};
    EXPECT_EQ(Walk("skip,skip\nno, lead\nno,next \n"), WalkEnd::Finished);
    EXPECT_EQ(FolderEntries(fixture_.destination), QStringList({" lead", "next "}));
}

TEST_F(ExcelSourceTest, StopIsSeenBeforeTheNextCell) {
    fixture_.host.onPump = [this](int pump) {
        if (pump == 2) {
            fixture_.stopRequested = true;
        }
    };
    EXPECT_EQ(Walk("a\n\nb\n"), WalkEnd::Stopped);
    EXPECT_EQ(Log(), QStringList({"aを作成しました", QString::fromUtf16(kStoppedLine)}));
    EXPECT_EQ(fixture_.model.caption(Label::lblNow), QString::fromUtf16(kStatusStopped));
}

TEST_F(ExcelSourceTest, RowZeroAndRefusedNamesAreRaised) {
    Column().startCell.row = 0;  // the window's field lets row 0 through
    EXPECT_THROW(Walk("a\n"), RunTimeError);
    Column().startCell.row = 1;
    EXPECT_THROW(Walk("a\nmissing/b\nc\n"), RunTimeError);
    EXPECT_EQ(Log(), QStringList{"aを作成しました"});
    // A cell is someone else's data: a name that climbs out of the folder is never made.
    QDir(fixture_.destination).mkdir("sub");
    EXPECT_THROW(Walk("sub/../../escaped\n"), RunTimeError);
    EXPECT_FALSE(QDir(fixture_.destination + "/..").exists("escaped"));
}

}  // namespace
}  // namespace zarame
