#include "run/validation.h"

#include <gtest/gtest.h>

#include "run/progress_log.h"
#include "testing/test_support.h"

namespace zarame {
namespace {

// The number rules themselves are tested where they live (numbers, fill value, preview); here,
// which check applies when, in what order, with which message and focus.
class Validate : public testing::ContextFixture, public ::testing::Test {
protected:
    struct Step {
        TextBox box;
        QStringView text;
        QStringView message;  // empty when the inputs pass
    };

    Validate() {
        AddLog(model, "previous run", 1000);
        existingFile = temporary.path() + "/exists.txt";
        testing::WriteFile(existingFile, "x");
        for (TextBox box : {TextBox::txtExcel, TextBox::txtText, TextBox::txtDup}) {
            model.setText(box, existingFile);
        }
    }
    // Sets each input in turn and checks the message, and that the focus went to that input.
    void Expect(std::initializer_list<Step> steps) {
        for (const Step& step : steps) {
            model.setText(step.box, step.text.toString());
            host.messages.clear();
            host.focus.clear();
            RunContext context = Context();
            const bool refused = ValidateInputs(context) == Validation::Refused;
            SCOPED_TRACE(step.text.toString().toStdString());
            EXPECT_EQ(refused, !step.message.isEmpty());
            EXPECT_EQ(host.messages.size(), refused ? 1u : 0u);
            if (refused && !host.messages.empty()) {
                EXPECT_EQ(host.messages[0].text, step.message);
                EXPECT_EQ(host.messages[0].icon, MessageIcon::Warning);
                EXPECT_EQ(host.focus, std::vector<TextBox>{step.box});
            }
        }
    }

    QString existingFile;
};

TEST_F(Validate, DestinationChecksComeFirstFocusNothingAndKeepTheLog) {
    model.setText(TextBox::txtExcel, "/missing.xls");  // would also fail, but later
    for (const QString& folder : {QString(), existingFile}) {
        model.setText(TextBox::txtFolder, folder);
        RunContext context = Context();
        EXPECT_EQ(ValidateInputs(context), Validation::Refused);
    }
    EXPECT_EQ(host.messages[0].text, "作成先フォルダを指定してください");
    EXPECT_EQ(host.messages[1].text, "作成先フォルダが見つかりません");
    EXPECT_TRUE(host.focus.empty());
    EXPECT_EQ(model.logLines(), QStringList{"previous run"});

    model.setText(TextBox::txtFolder, destination);
    Expect({{TextBox::txtExcel, u"/missing.xls", u"Excelファイルが見つかりません"}});
    EXPECT_TRUE(model.logLines().isEmpty());
}

TEST_F(Validate, ExcelStartCellAndBlankRows) {
    const QStringView badCell = u"開始セル位置が正しくありません";
    // Which cells and limits pass is told by the start cell's own tests; here, how a refusal
    // shows in the window.
    Expect(
        {{TextBox::txtStartCell, u"B10", badCell}, {TextBox::txtStartCell, u"\uFF22\uFF12", u""}});
    model.setText(TextBox::txtStartCell, "B2");
    for (const char16_t* blank : {u"0.5", u"x"}) {
        Expect({{TextBox::txtBlank, blank, u"終了行数指定が正しくありません"}});
    }
}

TEST_F(Validate, EachSourceAndKindSeesOnlyItsOwnChecksInOrder) {
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

}  // namespace
}  // namespace zarame
