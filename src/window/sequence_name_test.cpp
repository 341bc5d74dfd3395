#include "window/sequence_name.h"

#include <gtest/gtest.h>

namespace zarame {
namespace {

// Which inputs are usable is told by the preview's tests; here, how a name is put together.
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
        const NumberSequence sequence{0, 0, c.digits, c.fixedText, c.placement, c.extension};
        EXPECT_EQ(SequenceName(sequence, c.number), c.name);
    }
}

}  // namespace
}  // namespace zarame
