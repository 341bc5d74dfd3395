#include "window/name_preview.h"

#include "window/window_model.h"

namespace zarame {

SequenceTexts SequenceTextsOf(const WindowModel& model) {
    return SequenceTexts{
        model.text(TextBox::txtMin),
        model.text(TextBox::txtMax),
        model.text(TextBox::txtSize),
        model.text(TextBox::txtFix),
        model.numberFirst() ? NumberPlacement::BeforeFixedText : NumberPlacement::AfterFixedText,
        model.text(TextBox::txtExt)};
}

void UpdateSample(WindowModel& model) {
    model.setCaption(Label::lblSample0, QString());
    model.setCaption(Label::lblSample1, QString());
    if (const std::optional<NumberSequence> sequence = ParseSequence(SequenceTextsOf(model))) {
        model.setCaption(Label::lblSample0, SequenceName(*sequence, sequence->first));
        model.setCaption(Label::lblSample1, SequenceName(*sequence, sequence->last));
    }
}

}  // namespace zarame
