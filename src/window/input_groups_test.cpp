#include "window/input_groups.h"

#include <gtest/gtest.h>

#include "window/window_model.h"

namespace zarame {
namespace {

constexpr Control kExcel[] = {Control::txtExcel, Control::cmdReferExcel, Control::txtStartCell,
                              Control::txtBlank};
constexpr Control kText[] = {Control::txtText, Control::cmdReferText};
constexpr Control kSequential[] = {
    Control::txtFix, Control::optBeforeAfter0, Control::optBeforeAfter1, Control::txtMin,
    Control::txtMax, Control::txtSize,         Control::txtExt};
constexpr Control kNewFile[] = {Control::txtFileByte, Control::txtCode};
constexpr Control kDuplicate[] = {Control::txtDup, Control::cmdReferDup};

template <size_t Count>
void ExpectGroup(const WindowModel& model, const Control (&group)[Count], bool enabled) {
    for (Control control : group) {
        EXPECT_EQ(model.enabled(control), enabled) << static_cast<int>(control);
    }
}

TEST(InputGroups, EachNameSourceEnablesOnlyItsGroup) {
    WindowModel model;
    for (int source = 0; source < 3; ++source) {
        model.select(OptionGroup::optType, source);
        UpdateInputGroups(model);
        ExpectGroup(model, kExcel, source == 0);
        ExpectGroup(model, kText, source == 1);
        ExpectGroup(model, kSequential, source == 2);
    }
}

TEST(InputGroups, EachItemKindEnablesOnlyItsGroupAndLeavesTheRestAlone) {
    WindowModel model;
    for (int kind = 0; kind < 3; ++kind) {
        model.select(OptionGroup::optSpec, kind);
        UpdateInputGroups(model);
        ExpectGroup(model, kNewFile, kind == 0);
        ExpectGroup(model, kDuplicate, kind == 1);
        EXPECT_TRUE(model.enabled(Control::txtFolder));
        EXPECT_TRUE(model.enabled(Control::cmdReferFolder));
        EXPECT_TRUE(model.enabled(Control::optSpec2));
        EXPECT_TRUE(model.enabled(Control::cmdCreate));
    }
}

TEST(InputGroups, TextSourceKeepsTheSelectedPlacementAndIsIdempotent) {
    WindowModel model;
    model.select(OptionGroup::optBeforeAfter, 0);
    model.select(OptionGroup::optType, 1);
    UpdateInputGroups(model);
    UpdateInputGroups(model);
    ExpectGroup(model, kSequential, false);
    ExpectGroup(model, kExcel, false);
    EXPECT_EQ(model.selected(OptionGroup::optBeforeAfter), 0);
}

TEST(InputGroups, GroupsWithoutControlsChangeNothing) {
    WindowModel model;
    for (std::int16_t group : {3, 9, 12, 13, -1}) {
        EnableGroup(model, group, Enablement::Disabled);
    }
    for (int control = 0; control < kControlCount; ++control) {
        EXPECT_EQ(model.enabled(static_cast<Control>(control)),
                  static_cast<Control>(control) != Control::cmdStop);
    }
}

}  // namespace
}  // namespace zarame
