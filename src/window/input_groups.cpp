#include "window/input_groups.h"

#include <span>

#include "window/window_model.h"

namespace zarame {

namespace {

constexpr Control kExcelGroup[] = {Control::txtExcel, Control::cmdReferExcel, Control::txtStartCell,
                                   Control::txtBlank};
constexpr Control kTextFileGroup[] = {Control::txtText, Control::cmdReferText};
constexpr Control kSequentialGroup[] = {
    Control::txtFix, Control::optBeforeAfter0, Control::optBeforeAfter1, Control::txtMin,
    Control::txtMax, Control::txtSize,         Control::txtExt};
constexpr Control kNewFileGroup[] = {Control::txtFileByte, Control::txtCode};
constexpr Control kDuplicateGroup[] = {Control::txtDup, Control::cmdReferDup};

std::span<const Control> ControlsOf(std::int16_t group) {
    switch (group) {
        case static_cast<std::int16_t>(InputGroup::Excel):
            return kExcelGroup;
        case static_cast<std::int16_t>(InputGroup::TextFile):
            return kTextFileGroup;
        case static_cast<std::int16_t>(InputGroup::Sequential):
            return kSequentialGroup;
        case static_cast<std::int16_t>(InputGroup::NewFile):
            return kNewFileGroup;
        case static_cast<std::int16_t>(InputGroup::Duplicate):
            return kDuplicateGroup;
        default:
            return {};  // the folder group has no controls, nor has any other number
    }
}

void EnableOnly(WindowModel& model, InputGroup first, int selected) {
    // The three groups of one choice are always set in ascending order.
    for (int offset = 0; offset < 3; ++offset) {
        const auto group = static_cast<std::int16_t>(static_cast<int>(first) + offset);
        EnableGroup(model, group, offset == selected ? Enablement::Enabled : Enablement::Disabled);
    }
}

}  // namespace

void EnableGroup(WindowModel& model, std::int16_t group, Enablement enablement) {
    for (Control control : ControlsOf(group)) {
        model.setEnabled(control, enablement == Enablement::Enabled);
    }
}

void UpdateInputGroups(WindowModel& model) {
    EnableOnly(model, InputGroup::Excel, static_cast<int>(model.nameSource()));
    EnableOnly(model, InputGroup::NewFile, static_cast<int>(model.itemKind()));
}

}  // namespace zarame
