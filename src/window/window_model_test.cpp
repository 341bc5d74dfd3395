#include "window/window_model.h"

#include <gtest/gtest.h>

namespace zarame {
namespace {

TEST(WindowModel, TitleRunsMinorAndRevisionTogether) {
    EXPECT_EQ(MainWindowTitle(1, 1, 0), QStringLiteral("ざらめ v1.10"));
    EXPECT_EQ(MainWindowTitle(1, 12, 3), QStringLiteral("ざらめ v1.123"));
}

}  // namespace
}  // namespace zarame
