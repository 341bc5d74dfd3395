#include "window/input_groups.h"

#include <gtest/gtest.h>

#include "window/window_model.h"

namespace zarame {
namespace {

TEST(InputGroups, OnlyTheSelectedSourceAndKindAreEnabled) {
    WindowModel model;
    model.select(OptionGroup::optType, 1);
    model.select(OptionGroup::optSpec, 2);
    UpdateInputGroups(model);
    EXPECT_TRUE(model.enabled(Control::cmdReferText));
    for (Control control : {Control::txtStartCell, Control::optBeforeAfter1, Control::txtCode,
                            Control::cmdReferDup}) {
        EXPECT_FALSE(model.enabled(control)) << static_cast<int>(control);
    }
    // Controls of no group (the destination, the option buttons) are never touched.
    EXPECT_TRUE(model.enabled(Control::txtFolder));
    EXPECT_TRUE(model.enabled(Control::optType0));

    model.select(OptionGroup::optType, 7);  // beyond the last member counts as the last
    model.select(OptionGroup::optSpec, 1);
    UpdateInputGroups(model);
    EXPECT_FALSE(model.enabled(Control::txtText));
    EXPECT_TRUE(model.enabled(Control::txtMin));
    EXPECT_TRUE(model.enabled(Control::txtDup));
    EXPECT_FALSE(model.enabled(Control::txtFileByte));
}

}  // namespace
}  // namespace zarame
