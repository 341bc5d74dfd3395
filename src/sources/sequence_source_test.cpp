#include "sources/sequence_source.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::Names;

TEST(SequenceNames, AreThoseOfThePreviewWhateverTheTextsHold) {
    // Control characters and the number's own digits in the texts stay what they are.
    NumberSequence numbers{
        7, 8, 2, QStringLiteral("a\v1"), NumberPlacement::BeforeFixedText, QStringLiteral("\v%1")};
    for (NumberPlacement placement :
         {NumberPlacement::BeforeFixedText, NumberPlacement::AfterFixedText}) {
        numbers.placement = placement;
        SequenceNames names(numbers);
        EXPECT_EQ(Names(names), (QStringList{SequenceName(numbers, 7), SequenceName(numbers, 8)}));
    }
}

TEST(SequenceNames, LastNumberOfThe32BitRangeEndsTheRangeAndTheExtentCountsIt) {
    NumberSequence numbers{
        2147483646, 2147483647, 0, QStringLiteral("f"), NumberPlacement::AfterFixedText, QString()};
    SequenceNames names(numbers);
    EXPECT_EQ(names.extent().total, 2);
    EXPECT_EQ(names.Next().name, "f2147483646");
    EXPECT_EQ(names.extent().done, 1);
    EXPECT_EQ(names.Next().name, "f2147483647");
    EXPECT_EQ(names.Next().kind, NameStep::Kind::End);
    EXPECT_EQ(names.extent().done, 2);
    numbers.last = numbers.first - 1;  // an empty range
    EXPECT_EQ(SequenceNames(numbers).Next().kind, NameStep::Kind::End);
}

}  // namespace
}  // namespace zarame
