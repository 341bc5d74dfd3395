#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace zarame {

enum class NumberPlacement { BeforeFixedText, AfterFixedText };

// The numbers of a sequential run and the texts that frame each of them.
struct NumberSequence {
    std::int32_t first = 0;
    std::int32_t last = 0;
    std::int32_t digitCount = 0;
    QString fixedText;
    NumberPlacement placement = NumberPlacement::AfterFixedText;
    QString extension;
};

// The sequence inputs as typed.
struct SequenceTexts {
    QStringView first;
    QStringView last;
    QStringView digitCount;
    QStringView fixedText;
    NumberPlacement placement = NumberPlacement::AfterFixedText;
    QStringView extension;
};

// The sequence, or nothing when its inputs are unusable: a number that is not numeric or beyond
// 32 bits, a negative one, or the last below the first. The preview shows nothing then, and a
// sequential run is refused.
std::optional<NumberSequence> ParseSequence(const SequenceTexts& texts);

// The decimal digits of a number of 0 or more, left-filled with zeros to at least digitCount.
QString NumberText(std::int32_t number, std::int32_t digitCount);

// What stands before and after the number in every name of the sequence.
struct SequenceFrame {
    QString beforeNumber;
    QString afterNumber;
};
SequenceFrame FrameOf(const NumberSequence& sequence);

// The name of one number: fixed text and number text in the chosen order, then the extension.
QString SequenceName(const NumberSequence& sequence, std::int32_t number);

}  // namespace zarame
