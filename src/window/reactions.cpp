#include "window/reactions.h"

#include "window/input_groups.h"
#include "window/name_preview.h"
#include "window/window_model.h"

namespace zarame {

void ConnectReactions(WindowModel& model) {
    QObject::connect(&model, &WindowModel::selectionChanged, &model, [&model](OptionGroup group) {
        switch (group) {
            case OptionGroup::optType:
                UpdateInputGroups(model);
                if (model.selected(OptionGroup::optType) == 2) {
                    UpdateSample(model);
                }
                break;
            case OptionGroup::optSpec:
                UpdateInputGroups(model);
                break;
            case OptionGroup::optBeforeAfter:
                UpdateSample(model);
                break;
        }
    });
    QObject::connect(&model, &WindowModel::textChanged, &model, [&model](TextBox box) {
        switch (box) {
            case TextBox::txtFix:
            case TextBox::txtMin:
            case TextBox::txtMax:
            case TextBox::txtSize:
            case TextBox::txtExt:
                UpdateSample(model);
                break;
            default:
                break;  // the other inputs are looked at only when a run starts
        }
    });
}

void SequenceInputFocusChanged(WindowModel& model) {
    UpdateSample(model);
}

}  // namespace zarame
