#include "window/name_preview.h"

#include <gtest/gtest.h>

#include "window/window_model.h"

namespace zarame {
namespace {

// The naming rule itself is tested with the sequence source; here, what the preview makes of the
// three number inputs.
class NamePreview : public ::testing::Test {
protected:
    void Set(const QString& first, const QString& last, const QString& digits) {
        model.setText(TextBox::txtMin, first);
        model.setText(TextBox::txtMax, last);
        model.setText(TextBox::txtSize, digits);
        UpdateSample(model);
    }
    QString First() const { return model.caption(Label::lblSample0); }
    QString Last() const { return model.caption(Label::lblSample1); }

    WindowModel model;
};

TEST_F(NamePreview, ShowsFirstAndLastNames) {
    model.setText(TextBox::txtFix, "file");
    model.setText(TextBox::txtExt, ".txt");
    model.select(OptionGroup::optBeforeAfter, 0);
    Set("1", "100", ".5");  // half a digit rounds to none
    EXPECT_EQ(First(), "1file.txt");
    EXPECT_EQ(Last(), "100file.txt");
}

TEST_F(NamePreview, UnusableInputsEmptyBothSamples) {
    const QStringList bad[] = {{"", "100", "3"},  {"1", "x", "3"},    {"1", "100", ""},
                               {"10", "9", "3"},  {"-1", "100", "3"}, {"1", "100", "-1"},
                               {"1", "9e9", "3"}, {"-5", "-1", "3"}};
    for (const QStringList& inputs : bad) {
        Set("1", "2", "1");
        ASSERT_FALSE(First().isEmpty());
        Set(inputs[0], inputs[1], inputs[2]);
        EXPECT_TRUE(First().isEmpty()) << inputs.join(',').toStdString();
        EXPECT_TRUE(Last().isEmpty());
    }
}

TEST_F(NamePreview, HugeDigitCountDoesNotExhaustMemory) {
    Set("1", "1", "2147483647");
    EXPECT_FALSE(First().isEmpty());
    EXPECT_LE(First().size(), 300);
}

}  // namespace
}  // namespace zarame
