#include "run/parse_request.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace zarame {
namespace {

// The number rules themselves are tested where they live (numbers, fill value, start cell,
// sequence); here, which check applies when, in what order, with which message and focus, and
// what a passing parse puts into the request.
class ParseInputs : public testing::ContextFixture, public ::testing::Test {
protected:
    struct Step {
        TextBox box;
        QStringView text;
        QStringView message;  // empty when the inputs pass
    };

    ParseInputs() {
        existingFile = temporary.path() + "/exists.txt";
        testing::WriteFile(existingFile, "x");
        for (TextBox box : {TextBox::txtExcel, TextBox::txtText, TextBox::txtDup}) {
            model.setText(box, existingFile);
        }
    }
    ParsedRequest Parse() {
        return ParseRequest(model, files, CellReach::WindowField, [this] { ++accepted; });
    }
    // Sets each input in turn and checks the message, and that the focus goes to that input.
    void Expect(std::initializer_list<Step> steps) {
        for (const Step& step : steps) {
            model.setText(step.box, step.text.toString());
            SCOPED_TRACE(step.text.toString().toStdString());
            const ParsedRequest parsed = Parse();
            EXPECT_EQ(!parsed.request, !step.message.isEmpty());
            if (!parsed.request) {
                EXPECT_EQ(parsed.refusal.message, step.message);
                EXPECT_EQ(parsed.refusal.focus, step.box);
            }
        }
    }

    QString existingFile;
    int accepted = 0;
};

TEST_F(ParseInputs, DestinationChecksComeFirstFocusNothingAndAcceptNothing) {
    model.setText(TextBox::txtExcel, "/missing.xls");  // would also fail, but later
    const QStringView messages[] = {u"作成先フォルダを指定してください",
                                    u"作成先フォルダが見つかりません"};
    int index = 0;
    for (const QString& folder : {QString(), existingFile}) {
        model.setText(TextBox::txtFolder, folder);
        const ParsedRequest parsed = Parse();
        ASSERT_FALSE(parsed.request);
        EXPECT_EQ(parsed.refusal.message, messages[index++]);
        EXPECT_FALSE(parsed.refusal.focus);
    }
    EXPECT_EQ(accepted, 0);

    model.setText(TextBox::txtFolder, destination);
    Expect({{TextBox::txtExcel, u"/missing.xls", u"Excelファイルが見つかりません"}});
    EXPECT_EQ(accepted, 1);
}

TEST_F(ParseInputs, ExcelStartCellAndBlankRows) {
    const QStringView badCell = u"開始セル位置が正しくありません";
    // Which cells and limits pass is told by the start cell's own tests; here, how a refusal
    // shows and what a pass reads.
    Expect(
        {{TextBox::txtStartCell, u"B10", badCell}, {TextBox::txtStartCell, u"\uFF22\uFF12", u""}});
    model.setText(TextBox::txtStartCell, "c0");
    model.setText(TextBox::txtBlank, "2");
    const ParsedRequest parsed = Parse();
    ASSERT_TRUE(parsed.request);
    const WorkbookColumn& column = parsed.request->names.workbookColumn;
    EXPECT_EQ(parsed.request->names.source, NameSource::ExcelColumn);
    EXPECT_EQ(column.workbookPath, existingFile);
    EXPECT_EQ(column.startCell.column, 3);
    EXPECT_EQ(column.startCell.row, 0);
    EXPECT_EQ(column.blankLimit, 2);
    for (const char16_t* blank : {u"0.5", u"x"}) {
        Expect({{TextBox::txtBlank, blank, u"終了行数指定が正しくありません"}});
    }
    model.setText(TextBox::txtBlank, "40000");  // beyond 16 bits: an error, not a refusal
    EXPECT_THROW(Parse(), RunTimeError);
}

TEST_F(ParseInputs, EachSourceAndKindSeesOnlyItsOwnChecksInOrder) {
    model.setText(TextBox::txtStartCell, "bad!");
    model.setText(TextBox::txtFileByte, "junk");
    model.setText(TextBox::txtMax, "0");
    model.select(OptionGroup::optType, 1);
    model.select(OptionGroup::optSpec, 2);
    Expect({{TextBox::txtText, u"/missing.txt", u"テキストファイルが見つかりません"},
            {TextBox::txtText, existingFile, u""}});  // the folder kind checks nothing
    model.select(OptionGroup::optType, 2);
    model.select(OptionGroup::optSpec, 0);
    Expect({{TextBox::txtFix, u"", u"連番設定が正しくありません"}});
    model.setText(TextBox::txtMax, "10");
    Expect({{TextBox::txtFileByte, u"junk", u"ファイルサイズが正しくありません"},
            {TextBox::txtFileByte, u"-1", u"ファイルサイズが正しくありません"},
            {TextBox::txtFileByte, u"1,048,576", u""},
            {TextBox::txtCode, u"256", u"書き込み値が正しくありません"}});
    model.select(OptionGroup::optSpec, 1);
    Expect({{TextBox::txtDup, u"/missing.bin", u"複製元ファイルが見つかりません"},
            {TextBox::txtDup, destination, u"複製元ファイルが見つかりません"}});
}

TEST_F(ParseInputs, APassReadsTheSelectedSourceAndKind) {
    model.select(OptionGroup::optType, 2);
    model.select(OptionGroup::optBeforeAfter, 0);
    model.setText(TextBox::txtFix, " f ");
    model.setText(TextBox::txtExt, ".dat");
    model.setText(TextBox::txtMin, "2.5");  // halves go to the even neighbour
    model.setText(TextBox::txtMax, "7");
    model.setText(TextBox::txtSize, "4");
    model.setText(TextBox::txtFileByte, "1,000");
    model.setText(TextBox::txtCode, "&hff");
    const ParsedRequest parsed = Parse();
    ASSERT_TRUE(parsed.request);
    const BatchRequest& request = *parsed.request;
    EXPECT_EQ(request.folder, destination);
    const NumberSequence& numbers = request.names.numbers;
    EXPECT_EQ(request.names.source, NameSource::SequentialNumbers);
    EXPECT_EQ(numbers.first, 2);
    EXPECT_EQ(numbers.last, 7);
    EXPECT_EQ(numbers.digitCount, 4);
    EXPECT_EQ(SequenceName(numbers, numbers.first), "0002 f .dat");
    EXPECT_EQ(request.items.kind, ItemKind::NewFile);
    EXPECT_EQ(request.items.fileSize, 1000);
    EXPECT_EQ(request.items.fillByte, 255);

    model.select(OptionGroup::optSpec, 1);
    ASSERT_TRUE(Parse().request);
    EXPECT_EQ(Parse().request->items.duplicateSource, existingFile);
    model.select(OptionGroup::optType, 1);
    EXPECT_EQ(Parse().request->names.textFilePath, existingFile);
}

}  // namespace
}  // namespace zarame
