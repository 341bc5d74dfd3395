#pragma once

#include <QStringView>
#include <cstdint>

namespace zarame {

// The numeric test: the whole text, blanks allowed before and after, is an optional sign, digits
// (grouped by commas in threes or not) with an optional fraction, and an optional exponent.
// Full-width digits, sign, comma and period count as their ASCII forms because a Japanese input
// method types them. The empty text fails.
bool IsNumeric(QStringView text);

// The whole-number conversion of a text that passes the numeric test: a fraction goes to the
// nearest integer, an exact half to the even neighbour. A value outside the type's range, or a
// text that is not numeric, raises a RunTimeError.
std::int16_t ToInt16(QStringView text);
std::int32_t ToInt32(QStringView text);

}  // namespace zarame
