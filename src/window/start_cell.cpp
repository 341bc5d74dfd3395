#include "window/start_cell.h"

#include <algorithm>

#include "common/numbers.h"
#include "common/run_time_error.h"

namespace zarame {

namespace {

char16_t FoldWidth(QChar character) {
    const char16_t code = character.unicode();
    if (code >= u'\uFF10' && code <= u'\uFF19') {
        return static_cast<char16_t>(u'0' + (code - u'\uFF10'));
    }
    if ((code >= u'\uFF21' && code <= u'\uFF3A') || (code >= u'\uFF41' && code <= u'\uFF5A')) {
        return static_cast<char16_t>(u'A' + (code - u'\uFF21'));  // lower case stays lower
    }
    return code;
}

// A column letter's number from 1, or 0 for anything but an ASCII letter.
int LetterNumber(QChar character) {
    const char16_t code = FoldWidth(character);
    if (code >= u'A' && code <= u'Z') {
        return code - u'A' + 1;
    }
    if (code >= u'a' && code <= u'z') {
        return code - u'a' + 1;
    }
    return 0;
}

// A digit's value, or -1.
int DigitValue(QChar character) {
    const char16_t code = FoldWidth(character);
    return code >= u'0' && code <= u'9' ? code - u'0' : -1;
}

std::optional<StartCell> ParseWholeSheetCell(QStringView text) {
    qsizetype position = 0;
    std::int32_t column = 0;
    // Three letters reach XFD; a fourth is refused as not being a digit.
    for (; position < std::min<qsizetype>(text.size(), 3); ++position) {
        const int letter = LetterNumber(text[position]);
        if (letter == 0) {
            break;
        }
        column = column * 26 + letter;
    }
    const qsizetype letters = position;
    std::int32_t row = 0;
    for (; position < text.size(); ++position) {
        const int digit = DigitValue(text[position]);
        if (digit < 0) {
            return std::nullopt;
        }
        row = std::min(row * 10 + digit, kSheetRows + 1);  // saturates: a long row stays refused
    }
    if (letters == 0 || position == letters || column > kSheetColumns || row < 1 ||
        row > kSheetRows) {
        return std::nullopt;
    }
    return StartCell{column, row};
}

}  // namespace

std::optional<StartCell> ParseStartCell(QStringView text, CellReach reach) {
    if (reach == CellReach::WholeSheet) {
        return ParseWholeSheetCell(text);
    }
    if (text.size() != 2) {
        return std::nullopt;
    }
    const int column = LetterNumber(text[0]);
    const int row = DigitValue(text[1]);
    if (column == 0 || row < 0) {
        return std::nullopt;
    }
    return StartCell{column, row};
}

std::optional<std::int32_t> ParseBlankLimit(QStringView text, CellReach reach) {
    if (!IsNumeric(text)) {
        return std::nullopt;
    }
    std::int32_t limit = 0;
    if (reach == CellReach::WindowField) {
        limit = ToInt16(text);
    } else {
        try {
            limit = ToInt32(text);
        } catch (const RunTimeError&) {
            return std::nullopt;  // beyond 32 bits is beyond any sheet
        }
        if (limit > kSheetRows) {
            return std::nullopt;
        }
    }
    if (limit < 1) {
        return std::nullopt;
    }
    return limit;
}

}  // namespace zarame
