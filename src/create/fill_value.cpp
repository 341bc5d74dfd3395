#include "create/fill_value.h"

#include "common/numbers.h"

namespace zarame {

namespace {

constexpr QStringView kHexDigits = u"0123456789ABCDEF";

}  // namespace

std::int32_t HexPairToByte(QStringView digits) {
    if (digits.isEmpty()) {
        return InvalidWriteCode;
    }
    const qsizetype high = kHexDigits.indexOf(digits.front());
    if (high < 0) {
        return InvalidWriteCode;
    }
    const qsizetype low = kHexDigits.indexOf(digits.back());
    if (low < 0) {
        return InvalidWriteCode;
    }
    return static_cast<std::int32_t>(high * 16 + low);
}

std::int32_t ParseWriteCode(QStringView text) {
    if (text.isEmpty()) {
        return InvalidWriteCode;
    }
    if (IsNumeric(text)) {
        const std::int32_t value = ToInt32(text);
        return value >= 0 && value <= 255 ? value : InvalidWriteCode;
    }
    const QString prefix = text.left(2).toString().toUpper();
    if (prefix != u"0X" && prefix != u"&H") {
        return InvalidWriteCode;
    }
    QString digits = text.mid(2).toString().toUpper();
    // More than two digits (only a stored setting can hold them) are refused outright rather
    // than read as their first and last digit.
    if (digits.isEmpty() || digits.size() > 2) {
        return InvalidWriteCode;
    }
    if (digits.size() == 1) {
        digits.prepend(u'0');
    }
    return HexPairToByte(digits);
}

}  // namespace zarame
