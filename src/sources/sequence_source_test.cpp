#include "sources/sequence_source.h"

#include <gtest/gtest.h>

#include "run/template_builder.h"
#include "run/progress_log.h"
#include "testing/test_support.h"
#include "window/sequence_name.h"

namespace zarame {
namespace {

using testing::ContextFixture;
using testing::FolderEntries;

// Folders named "f" and the number, into a fresh destination.
struct NumbersRun : ContextFixture {
    NumbersRun() {
        request.names.source = NameSource::SequentialNumbers;
        request.items.kind = ItemKind::Folder;
        request.names.numbers.fixedText = "f";
    }
    void Range(std::int32_t first, std::int32_t last) {
        request.names.numbers.first = first;
        request.names.numbers.last = last;
    }
    WalkEnd Walk() {
        RunContext context = Context();
        PrepareTemplateFile(context, request);
        return CreateFromNumbers(context, request);
    }
};

class NumbersWalk : public NumbersRun, public ::testing::Test {};

TEST_F(NumbersWalk, LastNumberOfThe32BitRangeEndsTheWalkAndTheFolderIsUsedAsTyped) {
    Range(2147483646, 2147483647);
    request.folder = destination + "/";
    EXPECT_EQ(Walk(), WalkEnd::Finished);
    EXPECT_EQ(FolderEntries(destination), QStringList({"f2147483646", "f2147483647"}));
    EXPECT_EQ(model.logLines().front(), destination + "//f2147483646を作成しました");
}

TEST_F(NumbersWalk, NamesAreThoseOfThePreviewWhateverTheTextsHold) {
    // Control characters and the number's own digits in the texts stay what they are.
    NumberSequence& numbers = request.names.numbers;
    numbers.fixedText = QStringLiteral("a\v1");
    numbers.extension = QStringLiteral("\v%1");
    numbers.digitCount = 2;
    for (NumberPlacement placement :
         {NumberPlacement::BeforeFixedText, NumberPlacement::AfterFixedText}) {
        numbers.placement = placement;
        Range(7, 7);
        const QString expected = SequenceName(numbers, 7);
        EXPECT_EQ(Walk(), WalkEnd::Finished);
        EXPECT_TRUE(FolderEntries(destination).contains(expected)) << expected.toStdString();
    }
}

TEST_F(NumbersWalk, StopIsSeenBeforeTheNextNumberButNotAfterTheLast) {
    // Stop pressed at the second pump: three numbers leave one unmade, two end the range first.
    for (std::int32_t last : {3, 2}) {
        NumbersRun walk;
        walk.Range(1, last);
        walk.host.onPump = [&walk](int pump) { walk.stopRequested = pump == 2; };
        const bool stopped = last == 3;
        EXPECT_EQ(walk.Walk(), stopped ? WalkEnd::Stopped : WalkEnd::Finished);
        EXPECT_EQ(FolderEntries(walk.destination).size(), 2);
        EXPECT_EQ(walk.model.logLines().size(), 2 + (stopped ? 1 : 0));
        EXPECT_EQ(walk.model.logLines().back() == QString::fromUtf16(kStoppedLine), stopped);
        EXPECT_EQ(walk.model.caption(Label::lblNow) == QString::fromUtf16(kStatusStopped), stopped);
    }
}

}  // namespace
}  // namespace zarame
