#include "window/sequence_name.h"

#include <algorithm>

#include "common/numbers.h"
#include "common/run_time_error.h"

namespace zarame {

namespace {

// No file system takes a name of more than 255 bytes, so wider padding could only make a name
// that is refused anyway; holding it here keeps a huge digit count from exhausting memory.
constexpr std::int32_t kMaximumPadding = 256;

}  // namespace

std::optional<NumberSequence> ParseSequence(const SequenceTexts& texts) {
    if (!IsNumeric(texts.first) || !IsNumeric(texts.last) || !IsNumeric(texts.digitCount)) {
        return std::nullopt;
    }
    NumberSequence sequence;
    try {
        sequence.first = ToInt32(texts.first);
        sequence.last = ToInt32(texts.last);
        if (sequence.last < sequence.first) {
            return std::nullopt;
        }
        sequence.digitCount = ToInt32(texts.digitCount);
    } catch (const RunTimeError&) {
        // A number beyond 32 bits (9e9 fits the box) makes the inputs unusable, not a failure.
        return std::nullopt;
    }
    if (sequence.first < 0 || sequence.last < 0 || sequence.digitCount < 0) {
        return std::nullopt;
    }
    sequence.fixedText = texts.fixedText.toString();
    sequence.placement = texts.placement;
    sequence.extension = texts.extension.toString();
    return sequence;
}

QString NumberText(std::int32_t number, std::int32_t digitCount) {
    const QString text = QString::number(number);
    return digitCount > 0 ? text.rightJustified(std::min(digitCount, kMaximumPadding), u'0') : text;
}

SequenceFrame FrameOf(const NumberSequence& sequence) {
    if (sequence.placement == NumberPlacement::BeforeFixedText) {
        return {QString(), sequence.fixedText + sequence.extension};
    }
    return {sequence.fixedText, sequence.extension};
}

QString SequenceName(const NumberSequence& sequence, std::int32_t number) {
    const SequenceFrame frame = FrameOf(sequence);
    return frame.beforeNumber + NumberText(number, sequence.digitCount) + frame.afterNumber;
}

}  // namespace zarame
