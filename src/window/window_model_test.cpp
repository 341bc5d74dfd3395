#include "window/window_model.h"

#include <gtest/gtest.h>

namespace zarame {
namespace {

TEST(WindowModel, TitleRunsMinorAndRevisionTogether) {
    EXPECT_EQ(MainWindowTitle(1, 1, 0), QStringLiteral("ざらめ v1.10"));
    EXPECT_EQ(MainWindowTitle(1, 12, 3), QStringLiteral("ざらめ v1.123"));
}

TEST(WindowModel, UnchangedTextIsNoChangeButEveryClickIs) {
    WindowModel model;
    int texts = 0;
    int selections = 0;
    QObject::connect(&model, &WindowModel::textChanged, [&] { ++texts; });
    QObject::connect(&model, &WindowModel::selectionChanged, [&] { ++selections; });
    model.setText(TextBox::txtFix, "a");
    model.setText(TextBox::txtFix, "a");
    model.select(OptionGroup::optType, 0);
    model.select(OptionGroup::optType, 0);
    EXPECT_EQ(texts, 1);
    EXPECT_EQ(selections, 2);
}

}  // namespace
}  // namespace zarame
