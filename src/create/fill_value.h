#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

namespace zarame {

// The marker for a text that is not a fill value; callers compare against exactly this value.
inline constexpr std::int32_t InvalidWriteCode = 999;

// The fill byte of a write-value text: decimal 0 to 255, or hexadecimal after 0x or &H (any case,
// one or two digits). Anything else gives InvalidWriteCode. A decimal text beyond 32 bits raises
// the overflow error to the caller.
std::int32_t ParseWriteCode(QStringView text);

// Two upper-case hexadecimal digits (the first and the last character) to 0..255, or
// InvalidWriteCode when either is not a digit.
std::int32_t HexPairToByte(QStringView digits);

}  // namespace zarame
