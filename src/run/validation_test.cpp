#include "run/validation.h"

#include <gtest/gtest.h>

#include "common/run_time_error.h"
#include "run/progress_log.h"
#include "testing/test_support.h"

namespace zarame {
namespace {

// The number rules themselves are tested where they live (numbers, fill value, preview); here,
// which check applies when, in what order, with which message and focus.
class Validate : public testing::ContextFixture, public ::testing::Test {
protected:
    Validate() {
        AddLog(model, "previous run", 1000);
        existingFile = temporary.path() + "/exists.txt";
        testing::WriteFile(existingFile, "x");
        for (TextBox box : {TextBox::txtExcel, TextBox::txtText, TextBox::txtDup}) {
            model.setText(box, existingFile);
        }
    }
    // The message of the refusal, or empty when the inputs pass.
    QString Message() {
        host.messages.clear();
        host.focus.clear();
        RunContext context = Context();
        const Validation result = ValidateInputs(context);
        EXPECT_EQ(host.messages.size(), result == Validation::Refused ? 1u : 0u);
        if (result == Validation::Passed) {
            return QString();
        }
        EXPECT_EQ(host.messages.front().icon, MessageIcon::Warning);
        return host.messages.front().text;
    }
    std::optional<TextBox> Focus() const {
        return host.focus.empty() ? std::nullopt : std::optional<TextBox>(host.focus.front());
    }
    void ExpectRefused(TextBox box, std::initializer_list<QStringView> texts,
                       const QString& message) {
        for (QStringView text : texts) {
            model.setText(box, text.toString());
            EXPECT_EQ(Message(), message) << text.toString().toStdString();
            EXPECT_EQ(Focus(), box);
        }
    }
    void ExpectPassed(TextBox box, std::initializer_list<QStringView> texts) {
        for (QStringView text : texts) {
            model.setText(box, text.toString());
            EXPECT_EQ(Message(), QString()) << text.toString().toStdString();
        }
    }

    QString existingFile;
};

TEST_F(Validate, DestinationChecksComeFirstAndKeepTheLog) {
    model.setText(TextBox::txtFolder, "");
    model.setText(TextBox::txtExcel, "/missing.xls");  // would also fail, but later
    EXPECT_EQ(Message(), "作成先フォルダを指定してください");
    EXPECT_FALSE(Focus());
    model.setText(TextBox::txtFolder, existingFile);  // a file is not a folder
    EXPECT_EQ(Message(), "作成先フォルダが見つかりません");
    EXPECT_EQ(model.logLines(), QStringList{"previous run"});

    model.setText(TextBox::txtFolder, destination);
    EXPECT_EQ(Message(), "Excelファイルが見つかりません");
    EXPECT_EQ(Focus(), TextBox::txtExcel);
    EXPECT_TRUE(model.logLines().isEmpty());
}

TEST_F(Validate, ExcelStartCellAndBlankRows) {
    ExpectPassed(TextBox::txtStartCell, {u"b2", u"B0", u"Z9"});
    // The letter is A to Z in either case: no other script's letter that upper-cases into range.
    ExpectRefused(TextBox::txtStartCell,
                  {u"B10", u"2B", u"", u"B", u"BB", u"\u01312", u"\uFF22\uFF12", u"B\uFF12"},
                  "開始セル位置が正しくありません");
    model.setText(TextBox::txtStartCell, "B2");
    ExpectRefused(TextBox::txtBlank, {u"0", u"0.5", u"x"}, "終了行数指定が正しくありません");
    model.setText(TextBox::txtBlank, "40000");
    RunContext context = Context();
    EXPECT_THROW(ValidateInputs(context), RunTimeError);
}

TEST_F(Validate, EachSourceAndKindSeesOnlyItsOwnChecksInOrder) {
    model.setText(TextBox::txtStartCell, "bad!");
    model.setText(TextBox::txtFileByte, "junk");
    model.select(OptionGroup::optType, 1);
    model.select(OptionGroup::optSpec, 2);
    ExpectRefused(TextBox::txtText, {u"/missing.txt"}, "テキストファイルが見つかりません");

    model.select(OptionGroup::optType, 2);
    model.setText(TextBox::txtMax, "0");
    EXPECT_EQ(Message(), "連番設定が正しくありません");
    EXPECT_EQ(Focus(), TextBox::txtFix);
    model.setText(TextBox::txtMax, "10");
    EXPECT_EQ(Message(), "");  // the folder kind checks nothing

    model.select(OptionGroup::optSpec, 0);
    ExpectRefused(TextBox::txtFileByte, {u"junk", u"-1"}, "ファイルサイズが正しくありません");
    ExpectPassed(TextBox::txtFileByte, {u"0", u"1,048,576"});
    ExpectRefused(TextBox::txtCode, {u"256", u""}, "書き込み値が正しくありません");
    model.setText(TextBox::txtCode, "0xFF");

    model.select(OptionGroup::optSpec, 1);
    ExpectRefused(TextBox::txtDup, {u"/missing.bin", destination},
                  "複製元ファイルが見つかりません");
}

}  // namespace
}  // namespace zarame
