#include "numformat/cell_format.h"

#include <cmath>

#include "numformat/date_section.h"
#include "numformat/format_cache.h"
#include "numformat/general_format.h"
#include "numformat/kanji_numerals.h"
#include "numformat/number_section.h"

namespace zarame::numformat {
namespace {

// What a date shows when the value is no date (the spreadsheet fills the cell with #).
constexpr char16_t kDateFill[] = u"########";

struct SectionChoice {
    const Section* section = nullptr;  // null: General
    SignDisplay sign = SignDisplay::Shown;
};

bool Matches(const Condition& condition, double value) {
    switch (condition.comparison) {
        case Comparison::None:
            return false;
        case Comparison::Less:
            return value < condition.operand;
        case Comparison::LessEqual:
            return value <= condition.operand;
        case Comparison::Greater:
            return value > condition.operand;
        case Comparison::GreaterEqual:
            return value >= condition.operand;
        case Comparison::Equal:
            return value == condition.operand;
        case Comparison::NotEqual:
            return value != condition.operand;
    }
    return false;
}

// A condition that only negative numbers meet makes its section a negative section.
bool OnlyNegatives(const Condition& condition) {
    return (condition.comparison == Comparison::Less && condition.operand <= 0) ||
           (condition.comparison == Comparison::LessEqual && condition.operand < 0);
}

SectionChoice ChooseConditional(const ParsedFormat& format, double value) {
    const auto& sections = format.sections;
    const int count = format.numericCount;
    const Section* chosen = nullptr;
    if (Matches(sections[0].condition, value)) {
        chosen = &sections[0];
    } else if (count >= 2 && (sections[1].condition.comparison == Comparison::None ||
                              Matches(sections[1].condition, value))) {
        chosen = &sections[1];
    } else if (count >= 3) {
        chosen = &sections[2];
    }
    if (chosen == nullptr) {
        return {};
    }
    return {chosen, OnlyNegatives(chosen->condition) ? SignDisplay::Dropped : SignDisplay::Shown};
}

// Positive; negative (shown without its sign); zero — chosen on the value before rounding.
SectionChoice ChooseSection(const ParsedFormat& format, double value) {
    const int count = format.numericCount;
    if (count == 0) {
        return {};
    }
    if (format.conditional) {
        return ChooseConditional(format, value);
    }
    const auto& sections = format.sections;
    if (count == 1 || value > 0) {
        return {&sections[0], SignDisplay::Shown};
    }
    if (value < 0) {
        return {&sections[1], SignDisplay::Dropped};
    }
    return {&sections[count >= 3 ? 2 : 0], SignDisplay::Shown};
}

QString RenderSection(const Section& section, double value, SignDisplay sign,
                      DateSystem dateSystem) {
    QString out;
    if (section.empty) {
        return out;
    }
    out.reserve(32);  // most texts fit; growing one character at a time would reallocate
    switch (section.kind) {
        case SectionKind::Text:
            AppendGeneral(out, value);
            return out;
        case SectionKind::Date:
            if (!RenderDateSection(section, sign == SignDisplay::Dropped ? std::fabs(value) : value,
                                   dateSystem, out)) {
                return QString::fromUtf16(kDateFill);
            }
            break;
        case SectionKind::Number:
            RenderNumberSection(section, value, sign, out);
            break;
    }
    if (section.kanji != KanjiNumerals::None) {
        return ToKanjiNumerals(out, section.kanji);
    }
    return out;
}

// Cuts a text past the cap to one unit over it.
QString Capped(QString text) {
    if (text.size() > kMaxDisplayedLength) {
        text.truncate(kMaxDisplayedLength + 1);
    }
    return text;
}

// Appends as much of `piece` as keeps `out` within one unit past the cap; false once it is full.
bool AppendCapped(QString& out, QStringView piece) {
    const qsizetype room = kMaxDisplayedLength + 1 - out.size();
    out += piece.left(room);
    return out.size() <= kMaxDisplayedLength;
}

}  // namespace

QString FormatNumber(double value, QStringView formatCode, DateSystem dateSystem) {
    QString out;
    if (!std::isfinite(value)) {
        return QStringLiteral("#NUM!");
    }
    const ParsedFormat& format = ThreadFormatCache().Get(formatCode);
    const SectionChoice choice = ChooseSection(format, value);
    if (choice.section == nullptr) {
        out.reserve(16);
        AppendGeneral(out, value);
        return out;
    }
    // A number's text is bounded by its code (at most 1,024 units) and 309 digits, so it is
    // built whole and then cut.
    return Capped(RenderSection(*choice.section, value, choice.sign, dateSystem));
}

QString FormatText(QStringView text, QStringView formatCode) {
    const ParsedFormat& format = ThreadFormatCache().Get(formatCode);
    if (format.textSection < 0) {
        return text.left(kMaxDisplayedLength + 1).toString();
    }
    const Section& section = format.sections[static_cast<size_t>(format.textSection)];
    QString out;
    for (const Token& token : section.tokens) {
        const bool placeholder =
            token.kind == TokenKind::TextPlaceholder || token.kind == TokenKind::General;
        if (!AppendCapped(out, placeholder ? text : QStringView(token.text))) {
            break;
        }
    }
    return out;
}

}  // namespace zarame::numformat
