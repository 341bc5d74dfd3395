// Settles a date or time section: m and mm after an hour or before a second are minutes, a
// decimal point followed by zeros gives fractions of a second, everything else is text.
#include "numformat/format_parser.h"

namespace zarame::numformat {
namespace {

constexpr int kMaxSubSecondDigits = 3;

bool IsDatePart(const Token& token, DatePart part) {
    return token.kind == TokenKind::DatePart && token.datePart == part;
}

bool IsHour(const Token& token) {
    return IsDatePart(token, DatePart::Hour) || IsDatePart(token, DatePart::ElapsedHours);
}

bool IsSecond(const Token& token) {
    return IsDatePart(token, DatePart::Second) || IsDatePart(token, DatePart::ElapsedSeconds);
}

bool IsMinuteAt(const std::vector<Token>& tokens, size_t at) {
    for (size_t i = at; i > 0; --i) {
        if (tokens[i - 1].kind == TokenKind::DatePart) {
            if (IsHour(tokens[i - 1])) {
                return true;
            }
            break;
        }
    }
    for (size_t i = at + 1; i < tokens.size(); ++i) {
        if (tokens[i].kind == TokenKind::DatePart) {
            return IsSecond(tokens[i]);
        }
    }
    return false;
}

// Joins ".000" into one sub-second token; returns the index after it.
size_t SettleSubSecond(std::vector<Token>& tokens, size_t at, Section& section) {
    size_t end = at + 1;
    while (end < tokens.size() && end - at - 1 < kMaxSubSecondDigits &&
           tokens[end].kind == TokenKind::DigitPlaceholder && tokens[end].placeholder == u'0') {
        ++end;
    }
    const int digits = static_cast<int>(end - at - 1);
    if (digits == 0) {
        tokens[at].kind = TokenKind::Literal;
        return at + 1;
    }
    Token& token = tokens[at];
    token.kind = TokenKind::DatePart;
    token.datePart = DatePart::SubSecond;
    token.width = static_cast<std::uint8_t>(digits);
    tokens.erase(tokens.begin() + static_cast<long>(at) + 1,
                 tokens.begin() + static_cast<long>(end));
    section.subSecondDigits = qMax(section.subSecondDigits, digits);
    return at + 1;
}

}  // namespace

void SettleDateSection(Section& section) {
    std::vector<Token>& tokens = section.tokens;
    size_t i = 0;
    while (i < tokens.size()) {
        Token& token = tokens[i];
        switch (token.kind) {
            case TokenKind::DatePart:
                if (token.datePart == DatePart::Month && IsMinuteAt(tokens, i)) {
                    token.datePart = DatePart::Minute;
                }
                break;
            case TokenKind::AmPm:
                section.twelveHour = true;
                break;
            case TokenKind::DecimalPoint:
                i = SettleSubSecond(tokens, i, section);
                continue;
            default:
                token.kind = TokenKind::Literal;
                break;
        }
        ++i;
    }
}

}  // namespace zarame::numformat
