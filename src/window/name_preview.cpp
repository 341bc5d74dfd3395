#include "window/name_preview.h"

#include "common/numbers.h"
#include "common/run_time_error.h"
#include "sources/sequence_source.h"
#include "window/window_model.h"

namespace zarame {

std::optional<SequenceSamples> ComputeSequenceSamples(const WindowModel& model) {
    const QString& minimumText = model.text(TextBox::txtMin);
    const QString& maximumText = model.text(TextBox::txtMax);
    const QString& sizeText = model.text(TextBox::txtSize);
    if (!IsNumeric(minimumText) || !IsNumeric(maximumText) || !IsNumeric(sizeText)) {
        return std::nullopt;
    }
    try {
        const std::int32_t first = ToInt32(minimumText);
        const std::int32_t last = ToInt32(maximumText);
        if (last < first) {
            return std::nullopt;
        }
        const std::int32_t digits = ToInt32(sizeText);
        if (first < 0 || last < 0 || digits < 0) {
            return std::nullopt;
        }
        const QString& fixedText = model.text(TextBox::txtFix);
        const QString& extension = model.text(TextBox::txtExt);
        const NumberPlacement placement = model.numberFirst() ? NumberPlacement::BeforeFixedText
                                                              : NumberPlacement::AfterFixedText;
        return SequenceSamples{SequenceName(first, digits, fixedText, placement, extension),
                               SequenceName(last, digits, fixedText, placement, extension)};
    } catch (const RunTimeError&) {
        // A number beyond 32 bits (9e9 fits the box) makes the inputs unusable, not a failure.
        return std::nullopt;
    }
}

void UpdateSample(WindowModel& model) {
    model.setCaption(Label::lblSample0, QString());
    model.setCaption(Label::lblSample1, QString());
    if (const std::optional<SequenceSamples> samples = ComputeSequenceSamples(model)) {
        model.setCaption(Label::lblSample0, samples->first);
        model.setCaption(Label::lblSample1, samples->last);
    }
}

}  // namespace zarame
