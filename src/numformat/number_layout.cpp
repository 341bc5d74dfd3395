// Settles a number section: which placeholders are integer, decimal, exponent or fraction
// digits, which commas group or scale, and how far % and scaling commas move the point.
#include "numformat/format_parser.h"

namespace zarame::numformat {
namespace {

bool IsPlaceholder(const Token& token) {
    return token.kind == TokenKind::DigitPlaceholder;
}

void MakeLiteral(Token& token) {
    token.kind = TokenKind::Literal;
}

// The most digits a fixed denominator may have: its products with 15 significant digits stay
// exact in the renderer's arithmetic.
constexpr qsizetype kMaxDenominatorDigits = 18;

qsizetype LeadingDigits(QStringView text) {
    qsizetype digits = 0;
    while (digits < text.size() && text[digits] >= u'0' && text[digits] <= u'9') {
        ++digits;
    }
    return digits;
}

// The literal digits that follow a fraction's slash (?/8, # ?/16, ?/105, ?/1000000000) give a
// fixed denominator. The tokenizer reads a 0 among them as a placeholder, so the digits run on
// through literal digits and 0 placeholders alike, and are joined into one denominator token.
// Returns the index after it. A denominator longer than the renderer can divide into marks the
// section malformed.
size_t ReadFixedDenominator(Section& section, size_t at) {
    std::vector<Token>& tokens = section.tokens;
    NumberLayout& layout = section.number;
    if (at >= tokens.size() || tokens[at].kind != TokenKind::Literal || tokens[at].text.isEmpty() ||
        tokens[at].text[0] < u'1' || tokens[at].text[0] > u'9') {
        return at;
    }
    QString denominator;
    size_t end = at;
    while (end < tokens.size() && denominator.size() <= kMaxDenominatorDigits) {
        Token& token = tokens[end];
        if (IsPlaceholder(token) && token.placeholder == u'0') {
            denominator += u'0';
        } else if (token.kind == TokenKind::Literal) {
            const qsizetype digits = LeadingDigits(token.text);
            if (digits == 0) {
                break;
            }
            denominator += QStringView(token.text).left(digits);
            if (digits < token.text.size()) {
                token.text.remove(0, digits);  // the rest stays plain text
                break;
            }
        } else {
            break;
        }
        ++end;
    }
    if (denominator.size() > kMaxDenominatorDigits) {
        section.malformed = true;
        return at;
    }
    Token token;
    token.kind = TokenKind::DigitPlaceholder;
    token.role = DigitRole::Denominator;
    token.text = denominator;
    tokens.erase(tokens.begin() + static_cast<long>(at), tokens.begin() + static_cast<long>(end));
    tokens.insert(tokens.begin() + static_cast<long>(at), std::move(token));
    layout.fixedDenominator = denominator.toLongLong();
    layout.denominatorDigits = static_cast<int>(denominator.size());
    return at + 1;
}

// The slash of a fraction: placeholders right before it, and placeholders or literal digits
// right after it.
long FindFractionSlash(const std::vector<Token>& tokens) {
    for (size_t i = 1; i < tokens.size(); ++i) {
        if (tokens[i].kind != TokenKind::FractionSlash || !IsPlaceholder(tokens[i - 1])) {
            continue;
        }
        if (i + 1 < tokens.size() &&
            (IsPlaceholder(tokens[i + 1]) ||
             (tokens[i + 1].kind == TokenKind::Literal && !tokens[i + 1].text.isEmpty() &&
              tokens[i + 1].text[0] >= u'1' && tokens[i + 1].text[0] <= u'9'))) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

void SettleFraction(Section& section, size_t slash) {
    std::vector<Token>& tokens = section.tokens;
    NumberLayout& layout = section.number;
    layout.fraction = true;
    size_t numeratorStart = slash;
    while (numeratorStart > 0 && IsPlaceholder(tokens[numeratorStart - 1])) {
        --numeratorStart;
    }
    for (size_t i = 0; i < numeratorStart; ++i) {
        if (IsPlaceholder(tokens[i])) {
            tokens[i].role = DigitRole::Integer;
            ++layout.integerDigits;
            layout.fractionHasInteger = true;
        }
    }
    for (size_t i = numeratorStart; i < slash; ++i) {
        tokens[i].role = DigitRole::Numerator;
        ++layout.numeratorDigits;
    }
    size_t after = ReadFixedDenominator(section, slash + 1);
    if (layout.fixedDenominator == 0) {
        while (after < tokens.size() && IsPlaceholder(tokens[after])) {
            tokens[after].role = DigitRole::Denominator;
            ++layout.denominatorDigits;
            ++after;
        }
    }
    for (size_t i = 0; i < tokens.size(); ++i) {
        Token& token = tokens[i];
        if (token.kind == TokenKind::Percent) {
            layout.powerOfTen = 2;
            MakeLiteral(token);
        } else if (i == slash) {
            continue;
        } else if (token.kind == TokenKind::DecimalPoint || token.kind == TokenKind::Comma ||
                   token.kind == TokenKind::Exponent || token.kind == TokenKind::FractionSlash ||
                   (IsPlaceholder(token) && i > after)) {
            MakeLiteral(token);
        }
    }
}

// A comma between two integer placeholders turns grouping on; a run of commas right after the
// last placeholder of the number divides by 1000 per comma; any other comma is plain text.
// Returns the index after the run.
size_t SettleCommas(std::vector<Token>& tokens, size_t at, DigitRole phase, NumberLayout& layout) {
    size_t next = at;
    while (next < tokens.size() && tokens[next].kind == TokenKind::Comma) {
        MakeLiteral(tokens[next]);
        ++next;
    }
    const bool afterPlaceholder = at > 0 && IsPlaceholder(tokens[at - 1]);
    const bool beforePlaceholder = next < tokens.size() && IsPlaceholder(tokens[next]);
    if (!afterPlaceholder) {
        return next;
    }
    if (beforePlaceholder && phase == DigitRole::Integer) {
        layout.grouping = true;
    } else if (!beforePlaceholder) {
        layout.powerOfTen -= 3 * static_cast<int>(next - at);
    } else {
        return next;
    }
    for (size_t i = at; i < next; ++i) {
        tokens[i].text.clear();
    }
    return next;
}

}  // namespace

void SettleNumberSection(Section& section) {
    std::vector<Token>& tokens = section.tokens;
    NumberLayout& layout = section.number;
    for (const Token& token : tokens) {
        layout.hasGeneral = layout.hasGeneral || token.kind == TokenKind::General;
    }
    const long slash = FindFractionSlash(tokens);
    if (slash >= 0) {
        SettleFraction(section, static_cast<size_t>(slash));
        return;
    }
    DigitRole phase = DigitRole::Integer;
    bool percent = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        Token& token = tokens[i];
        switch (token.kind) {
            case TokenKind::DigitPlaceholder:
                token.role = phase;
                ++(phase == DigitRole::Integer   ? layout.integerDigits
                   : phase == DigitRole::Decimal ? layout.decimalDigits
                                                 : layout.exponentDigits);
                break;
            case TokenKind::DecimalPoint:
                if (phase == DigitRole::Integer) {
                    phase = DigitRole::Decimal;
                } else {
                    MakeLiteral(token);
                }
                break;
            case TokenKind::Exponent:
                if (phase != DigitRole::Exponent) {
                    phase = DigitRole::Exponent;
                    layout.scientific = true;
                } else {
                    MakeLiteral(token);
                }
                break;
            case TokenKind::Comma:
                i = SettleCommas(tokens, i, phase, layout) - 1;
                break;
            case TokenKind::Percent:
                percent = true;
                MakeLiteral(token);
                break;
            case TokenKind::FractionSlash:
                MakeLiteral(token);
                break;
            default:
                break;
        }
    }
    // However many percent signs it shows, the value is multiplied by 100 once.
    layout.powerOfTen += percent ? 2 : 0;
}

}  // namespace zarame::numformat
