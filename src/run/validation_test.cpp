#include "run/validation.h"

#include <gtest/gtest.h>
#include <QDir>

#include "common/run_time_error.h"
#include "run/progress_log.h"
#include "testing/test_support.h"

namespace zarame {
namespace {

class Validate : public testing::ContextFixture, public ::testing::Test {
protected:
    Validate() {
        AddLog(model, "previous run", 1000);
        existingFile = temporary.path() + "/exists.txt";
        testing::WriteFile(existingFile, "x");
        model.setText(TextBox::txtExcel, existingFile);
        model.setText(TextBox::txtText, existingFile);
        model.setText(TextBox::txtDup, existingFile);
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

    QString existingFile;
};

TEST_F(Validate, DestinationChecksComeFirstAndKeepTheLog) {
    model.setText(TextBox::txtFolder, "");
    model.setText(TextBox::txtExcel, "/missing.xls");  // would also fail, but later
    EXPECT_EQ(Message(), "作成先フォルダを指定してください");
    EXPECT_FALSE(Focus());
    model.setText(TextBox::txtFolder, temporary.path() + "/nope");
    EXPECT_EQ(Message(), "作成先フォルダが見つかりません");
    model.setText(TextBox::txtFolder, existingFile);
    EXPECT_EQ(Message(), "作成先フォルダが見つかりません");
    EXPECT_EQ(model.logLines(), QStringList{"previous run"});

    model.setText(TextBox::txtFolder, destination);
    EXPECT_EQ(Message(), "Excelファイルが見つかりません");
    EXPECT_EQ(Focus(), TextBox::txtExcel);
    EXPECT_TRUE(model.logLines().isEmpty());
}

TEST_F(Validate, ExcelStartCellAndBlankRows) {
    for (const char* cell : {"b2", "B0", "Z9"}) {
        model.setText(TextBox::txtStartCell, cell);
        EXPECT_EQ(Message(), "") << cell;
    }
    for (const char* cell : {"B10", "2B", "", "B", "1", "BB"}) {
        model.setText(TextBox::txtStartCell, cell);
        EXPECT_EQ(Message(), "開始セル位置が正しくありません") << cell;
        EXPECT_EQ(Focus(), TextBox::txtStartCell);
    }
    model.setText(TextBox::txtStartCell, "B2");
    for (const char* blank : {"0", "-3", "0.5", "x", ""}) {
        model.setText(TextBox::txtBlank, blank);
        EXPECT_EQ(Message(), "終了行数指定が正しくありません") << blank;
        EXPECT_EQ(Focus(), TextBox::txtBlank);
    }
    model.setText(TextBox::txtBlank, "1.5");
    EXPECT_EQ(Message(), "");
    model.setText(TextBox::txtBlank, "40000");
    RunContext context = Context();
    EXPECT_THROW(ValidateInputs(context), RunTimeError);
}

TEST_F(Validate, EachSourceSeesOnlyItsOwnChecks) {
    model.setText(TextBox::txtStartCell, "bad!");
    model.select(OptionGroup::optType, 1);
    model.setText(TextBox::txtText, "/missing.txt");
    EXPECT_EQ(Message(), "テキストファイルが見つかりません");
    EXPECT_EQ(Focus(), TextBox::txtText);

    model.select(OptionGroup::optType, 2);
    model.setText(TextBox::txtMin, "10");
    model.setText(TextBox::txtMax, "9");
    EXPECT_EQ(Message(), "連番設定が正しくありません");
    EXPECT_EQ(Focus(), TextBox::txtFix);
    model.setText(TextBox::txtMax, "9e9");
    EXPECT_EQ(Message(), "連番設定が正しくありません");
    model.setText(TextBox::txtMax, "10");
    EXPECT_EQ(Message(), "");
}

TEST_F(Validate, NewFileSizeAndWriteValue) {
    model.select(OptionGroup::optType, 2);
    model.setText(TextBox::txtMin, "x");  // the source check comes before the kind checks
    model.setText(TextBox::txtFileByte, "-1");
    EXPECT_EQ(Message(), "連番設定が正しくありません");
    model.setText(TextBox::txtMin, "1");
    EXPECT_EQ(Message(), "ファイルサイズが正しくありません");
    EXPECT_EQ(Focus(), TextBox::txtFileByte);
    model.setText(TextBox::txtFileByte, "abc");
    EXPECT_EQ(Message(), "ファイルサイズが正しくありません");
    model.setText(TextBox::txtFileByte, "0");
    for (const char* code : {"256", "0xZZ", "", "&H"}) {
        model.setText(TextBox::txtCode, code);
        EXPECT_EQ(Message(), "書き込み値が正しくありません") << code;
        EXPECT_EQ(Focus(), TextBox::txtCode);
    }
    for (const char* code : {"255", "0xFF", "0xff", "&HFF", "&hff"}) {
        model.setText(TextBox::txtCode, code);
        EXPECT_EQ(Message(), "") << code;
    }
    model.setText(TextBox::txtFileByte, "1e10");
    RunContext context = Context();
    EXPECT_THROW(ValidateInputs(context), RunTimeError);
}

TEST_F(Validate, DuplicateSourceIsCheckedAndFoldersNeedNothing) {
    model.select(OptionGroup::optType, 2);
    model.select(OptionGroup::optSpec, 1);
    model.setText(TextBox::txtDup, "/missing.bin");
    model.setText(TextBox::txtFileByte, "junk");
    EXPECT_EQ(Message(), "複製元ファイルが見つかりません");
    EXPECT_EQ(Focus(), TextBox::txtDup);
    model.setText(TextBox::txtDup, destination);  // a folder is not a file
    EXPECT_EQ(Message(), "複製元ファイルが見つかりません");
    model.select(OptionGroup::optSpec, 2);
    EXPECT_EQ(Message(), "");
}

}  // namespace
}  // namespace zarame
