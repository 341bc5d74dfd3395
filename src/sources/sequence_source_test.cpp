#include "sources/sequence_source.h"

#include <gtest/gtest.h>

#include "create/template_file.h"
#include "run/progress_log.h"
#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::ContextFixture;
using testing::FolderEntries;

TEST(SequenceName, ArrangesNumberFixedTextAndExtension) {
    struct Case {
        const char* fixedText;
        NumberPlacement placement;
        int digits;
        const char* extension;
        int number;
        const char* name;
    };
    const auto after = NumberPlacement::AfterFixedText;
    for (const Case& c :
         {Case{"file", after, 3, ".txt", 1, "file001.txt"},
          Case{"file", after, 3, ".txt", 1000, "file1000.txt"},
          Case{"file", NumberPlacement::BeforeFixedText, 3, ".txt", 1, "001file.txt"},
          Case{"file", after, 0, "", 7, "file7"}, Case{"", after, 3, "", 42, "042"},
          Case{"file", after, 3, "abc", 1, "file001abc"},
          Case{"file", after, 2, ".txt", 100, "file100.txt"}, Case{"", after, 0, "", 0, "0"}}) {
        EXPECT_EQ(SequenceName(c.number, c.digits, c.fixedText, c.placement, c.extension), c.name);
    }
}

// Folders named "f" and the number, into a fresh destination.
struct NumbersRun : ContextFixture {
    NumbersRun() {
        model.select(OptionGroup::optType, 2);
        model.select(OptionGroup::optSpec, 2);
        model.setText(TextBox::txtFix, "f");
    }
    void Range(const QString& first, const QString& last) {
        model.setText(TextBox::txtMin, first);
        model.setText(TextBox::txtMax, last);
    }
    WalkEnd Walk() {
        RunContext context = Context();
        PrepareTemplateFile(context, TemplateMode::Prepare);
        return CreateFromNumbers(context);
    }
};

class NumbersWalk : public NumbersRun, public ::testing::Test {};

TEST_F(NumbersWalk, LastNumberOfThe32BitRangeEndsTheWalkAndTheFolderIsUsedAsTyped) {
    Range("2147483646", "2147483647");
    model.setText(TextBox::txtFolder, destination + "/");
    EXPECT_EQ(Walk(), WalkEnd::Finished);
    EXPECT_EQ(FolderEntries(destination), QStringList({"f2147483646", "f2147483647"}));
    EXPECT_EQ(model.logLines().front(), destination + "//f2147483646を作成しました");
}

TEST_F(NumbersWalk, NamesAreThoseOfThePreviewWhateverTheTextsHold) {
    // Control characters and the number's own digits in the texts stay what they are.
    model.setText(TextBox::txtFix, QStringLiteral("a\v1"));
    model.setText(TextBox::txtExt, QStringLiteral("\v%1"));
    for (int member : {0, 1}) {
        model.select(OptionGroup::optBeforeAfter, member);
        Range("7", "7");
        model.setText(TextBox::txtSize, "2");
        const QString expected = SequenceName(
            7, 2, model.text(TextBox::txtFix),
            member == 0 ? NumberPlacement::BeforeFixedText : NumberPlacement::AfterFixedText,
            model.text(TextBox::txtExt));
        EXPECT_EQ(Walk(), WalkEnd::Finished);
        EXPECT_TRUE(FolderEntries(destination).contains(expected)) << expected.toStdString();
    }
}

TEST_F(NumbersWalk, StopIsSeenBeforeTheNextNumberButNotAfterTheLast) {
    // Stop pressed at the second pump: three numbers leave one unmade, two end the range first.
    for (const char* last : {"3", "2"}) {
        NumbersRun walk;
        walk.Range("1", last);
        walk.host.onPump = [&walk](int pump) { walk.stopRequested = pump == 2; };
        const bool stopped = QByteArray(last) == "3";
        EXPECT_EQ(walk.Walk(), stopped ? WalkEnd::Stopped : WalkEnd::Finished);
        EXPECT_EQ(FolderEntries(walk.destination).size(), 2);
        EXPECT_EQ(walk.model.logLines().size(), 2 + (stopped ? 1 : 0));
        EXPECT_EQ(walk.model.logLines().back() == QString::fromUtf16(kStoppedLine), stopped);
        EXPECT_EQ(walk.model.caption(Label::lblNow) == QString::fromUtf16(kStatusStopped), stopped);
    }
}

}  // namespace
}  // namespace zarame
