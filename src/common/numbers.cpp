#include "common/numbers.h"

#include <QByteArray>
#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "common/run_time_error.h"

namespace zarame {

namespace {

bool IsBlank(char16_t character) {
    return character == u' ' || character == u'\t' || character == u'\u3000';
}

// Folds the full-width forms to ASCII; anything else outside ASCII becomes a character that no
// rule accepts.
char ToAscii(char16_t character) {
    if (character >= u'\uFF10' && character <= u'\uFF19') {
        return static_cast<char>('0' + (character - u'\uFF10'));
    }
    switch (character) {
        case u'\uFF0B':
            return '+';
        case u'\uFF0D':
            return '-';
        case u'\uFF0E':
            return '.';
        case u'\uFF0C':
            return ',';
        default:
            return character < 0x80 ? static_cast<char>(character) : '\x01';
    }
}

bool IsDigit(char character) {
    return character >= '0' && character <= '9';
}

// Digit grouping in the integer part, as people write byte counts (1,048,576): the digits before
// the first comma (already passed and counted in `digits`) are one to three, and every comma is
// followed by exactly three digits. Moves `position` past the groups; false when they are
// malformed.
bool SkipDigitGroups(const QByteArray& ascii, qsizetype& position, qsizetype& digits) {
    if (digits < 1 || digits > 3) {
        return false;
    }
    while (position < ascii.size() && ascii[position] == ',') {
        ++position;
        for (int digit = 0; digit < 3; ++digit, ++position, ++digits) {
            if (position >= ascii.size() || !IsDigit(ascii[position])) {
                return false;
            }
        }
    }
    return position >= ascii.size() || !IsDigit(ascii[position]);
}

// Returns the number in plain ASCII, ready for from_chars, or nothing when the text fails the test.
std::optional<QByteArray> NormalizedNumber(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin].unicode())) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1].unicode())) {
        --end;
    }
    QByteArray ascii;
    ascii.reserve(end - begin);
    for (qsizetype index = begin; index < end; ++index) {
        ascii.append(ToAscii(text[index].unicode()));
    }

    qsizetype position = 0;
    const auto peek = [&]() { return position < ascii.size() ? ascii[position] : '\0'; };
    const auto skipDigits = [&]() {
        const qsizetype start = position;
        while (IsDigit(peek())) {
            ++position;
        }
        return position - start;
    };
    if (peek() == '+' || peek() == '-') {
        ++position;
    }
    qsizetype digits = skipDigits();
    if (peek() == ',' && !SkipDigitGroups(ascii, position, digits)) {
        return std::nullopt;
    }
    if (peek() == '.') {
        ++position;
        digits += skipDigits();
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (peek() == 'e' || peek() == 'E') {
        ++position;
        if (peek() == '+' || peek() == '-') {
            ++position;
        }
        if (skipDigits() == 0) {
            return std::nullopt;
        }
    }
    if (position != ascii.size()) {
        return std::nullopt;
    }
    ascii.replace(",", "");
    return ascii;
}

template <typename Integer>
Integer ToInteger(QStringView text) {
    const std::optional<QByteArray> ascii = NormalizedNumber(text);
    if (!ascii) {
        // Callers test first; reaching here is a type mismatch, reported like the classic runtime.
        throw RunTimeError(13, QStringLiteral("型が一致しません: ") + text.toString());
    }
    // from_chars ignores the C locale, whose decimal point may be a comma. It takes no '+'.
    const char* first = ascii->constData();
    const char* last = first + ascii->size();
    const bool negative = *first == '-';
    if (*first == '+' || *first == '-') {
        ++first;
    }
    double magnitude = 0;
    const std::from_chars_result parsed = std::from_chars(first, last, magnitude);
    if (parsed.ec == std::errc::result_out_of_range) {
        // A tiny exponent underflows to zero; a huge one cannot fit any integer.
        magnitude = ascii->toLower().contains("e-") ? 0.0 : HUGE_VAL;
    }
    const double value = negative ? -magnitude : magnitude;
    // rint rounds in the current mode, which is to-nearest-even unless someone changed it.
    const int savedMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::rint(value);
    std::fesetround(savedMode);
    if (!(rounded >= static_cast<double>(std::numeric_limits<Integer>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Integer>::max()))) {
        throw OverflowError();
    }
    return static_cast<Integer>(rounded);
}

}  // namespace

bool IsNumeric(QStringView text) {
    return NormalizedNumber(text).has_value();
}

std::int16_t ToInt16(QStringView text) {
    return ToInteger<std::int16_t>(text);
}

std::int32_t ToInt32(QStringView text) {
    return ToInteger<std::int32_t>(text);
}

}  // namespace zarame
