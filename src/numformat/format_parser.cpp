#include "numformat/format_parser.h"

#include "numformat/format_tokenizer.h"

namespace zarame::numformat {
namespace {

bool Contains(const Section& section, TokenKind kind) {
    for (const Token& token : section.tokens) {
        if (token.kind == kind) {
            return true;
        }
    }
    return false;
}

SectionKind KindOf(const Section& section) {
    if (Contains(section, TokenKind::TextPlaceholder)) {
        return SectionKind::Text;
    }
    if (Contains(section, TokenKind::DatePart) || Contains(section, TokenKind::AmPm)) {
        return SectionKind::Date;
    }
    return SectionKind::Number;
}

// A section that holds only tags (a colour, a locale) shows the value as General.
void FillBareSection(Section& section) {
    if (!section.empty && section.tokens.empty()) {
        Token general;
        general.kind = TokenKind::General;
        section.tokens.push_back(std::move(general));
    }
}

ParsedFormat GeneralFormat() {
    ParsedFormat format;
    Section section;
    section.empty = false;
    FillBareSection(section);
    SettleNumberSection(section);
    format.sections.push_back(std::move(section));
    format.numericCount = 1;
    return format;
}

}  // namespace

void SettleTextSection(Section& section) {
    for (Token& token : section.tokens) {
        if (token.kind != TokenKind::TextPlaceholder && token.kind != TokenKind::General) {
            token.kind = TokenKind::Literal;
        }
    }
}

ParsedFormat ParseFormatCode(QStringView code) {
    if (code.isEmpty() || code.size() > kMaxFormatCodeLength) {
        return GeneralFormat();
    }
    ParsedFormat format;
    const std::vector<QStringView> texts = SplitSections(code);
    if (texts.size() > 4) {
        return GeneralFormat();
    }
    for (QStringView text : texts) {
        Section section = TokenizeSection(text);
        if (section.malformed) {
            return GeneralFormat();
        }
        FillBareSection(section);
        section.kind = KindOf(section);
        switch (section.kind) {
            case SectionKind::Number:
                SettleNumberSection(section);
                break;
            case SectionKind::Date:
                SettleDateSection(section);
                break;
            case SectionKind::Text:
                SettleTextSection(section);
                break;
        }
        if (section.malformed) {
            return GeneralFormat();  // a shape the renderer cannot honour
        }
        format.sections.push_back(std::move(section));
    }
    // Sections after the first inherit its language when they name none.
    for (Section& section : format.sections) {
        if (section.language == Language::Default) {
            section.language = format.sections.front().language;
        }
    }
    const int count = static_cast<int>(format.sections.size());
    if (count == 4) {
        format.textSection = 3;
    } else if (format.sections.back().kind == SectionKind::Text) {
        format.textSection = count - 1;
    }
    format.numericCount = qMin(3, format.textSection >= 0 ? format.textSection : count);
    format.conditional = format.sections[0].condition.comparison != Comparison::None ||
                         (count > 1 && format.sections[1].condition.comparison != Comparison::None);
    return format;
}

}  // namespace zarame::numformat
