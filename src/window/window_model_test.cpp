#include "window/window_model.h"

#include <gtest/gtest.h>

namespace zarame {
namespace {

TEST(WindowModel, TitleRunsMinorAndRevisionTogether) {
    EXPECT_EQ(MainWindowTitle(1, 1, 0), QStringLiteral("ざらめ v1.10"));
    EXPECT_EQ(MainWindowTitle(1, 12, 3), QStringLiteral("ざらめ v1.123"));
    EXPECT_EQ(MainWindowTitle(), QStringLiteral("ざらめ v1.10"));
}

TEST(WindowModel, DesignStateOfAFirstStart) {
    WindowModel model;
    EXPECT_EQ(model.nameSource(), NameSource::ExcelColumn);
    EXPECT_EQ(model.itemKind(), ItemKind::NewFile);
    EXPECT_FALSE(model.numberFirst());
    EXPECT_EQ(model.text(TextBox::txtCode), "0x00");
    EXPECT_EQ(model.text(TextBox::txtMax), "100");
    EXPECT_FALSE(model.enabled(Control::cmdStop));
    EXPECT_TRUE(model.enabled(Control::cmdCreate));
    EXPECT_EQ(model.progress().maximum, 100.0f);
}

TEST(WindowModel, OptionIndexesBeyondTwoCountAsTheLastMember) {
    WindowModel model;
    model.select(OptionGroup::optType, 7);
    model.select(OptionGroup::optSpec, -1);
    EXPECT_EQ(model.nameSource(), NameSource::SequentialNumbers);
    EXPECT_EQ(model.itemKind(), ItemKind::Folder);
}

TEST(WindowModel, NotifiesViewsOfChanges) {
    WindowModel model;
    int texts = 0;
    int selections = 0;
    QObject::connect(&model, &WindowModel::textChanged, [&] { ++texts; });
    QObject::connect(&model, &WindowModel::selectionChanged, [&] { ++selections; });
    model.setText(TextBox::txtFix, "a");
    model.setText(TextBox::txtFix, "a");  // unchanged text: no Change event
    model.select(OptionGroup::optType, 0);
    model.select(OptionGroup::optType, 0);  // a click on the selected member still reacts
    EXPECT_EQ(texts, 1);
    EXPECT_EQ(selections, 2);
}

}  // namespace
}  // namespace zarame
