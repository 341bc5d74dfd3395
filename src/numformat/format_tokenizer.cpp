#include "numformat/format_tokenizer.h"

#include "numformat/bracket_tag.h"

namespace zarame::numformat {
namespace {

// One character, or both halves of a surrogate pair.
qsizetype CharacterLength(QStringView text, qsizetype at) {
    if (at + 1 < text.size() && text[at].isHighSurrogate() && text[at + 1].isLowSurrogate()) {
        return 2;
    }
    return 1;
}

qsizetype RunLength(QStringView text, qsizetype at) {
    const QChar first = text[at].toLower();
    qsizetype end = at;
    while (end < text.size() && text[end].toLower() == first) {
        ++end;
    }
    return end - at;
}

bool StartsWithAt(QStringView text, qsizetype at, QStringView word) {
    return text.mid(at).startsWith(word, Qt::CaseInsensitive);
}

void AppendLiteral(Section& section, QStringView text) {
    if (!section.tokens.empty() && section.tokens.back().kind == TokenKind::Literal) {
        section.tokens.back().text += text;
        return;
    }
    Token token;
    token.text = text.toString();
    section.tokens.push_back(std::move(token));
}

void AppendToken(Section& section, TokenKind kind, QStringView source) {
    Token token;
    token.kind = kind;
    token.text = source.toString();
    section.tokens.push_back(std::move(token));
}

void AppendDatePart(Section& section, DatePart part, QStringView source) {
    Token token;
    token.kind = TokenKind::DatePart;
    token.datePart = part;
    token.width = static_cast<std::uint8_t>(qMin<qsizetype>(source.size(), 9));
    token.text = source.toString();
    section.tokens.push_back(std::move(token));
}

DatePart MonthPart(qsizetype run) {
    switch (run) {
        case 1:
        case 2:
            return DatePart::Month;
        case 3:
            return DatePart::MonthName;
        case 5:
            return DatePart::MonthLetter;
        default:
            return DatePart::MonthFull;
    }
}

DatePart DayPart(qsizetype run) {
    return run <= 2 ? DatePart::Day : run == 3 ? DatePart::WeekdayName : DatePart::WeekdayFull;
}

DatePart EraPart(qsizetype run) {
    return run == 1 ? DatePart::EraLetter : run == 2 ? DatePart::EraShort : DatePart::EraFull;
}

// Reads the letters of date and time tokens, General, AM/PM and the exponent; returns how many
// characters were used, or 0 when the letter is plain text.
qsizetype ReadLetters(QStringView text, qsizetype at, bool digitSeen, Section& section) {
    const char16_t lower = text[at].toLower().unicode();
    const qsizetype run = RunLength(text, at);
    const QStringView letters = text.mid(at, run);
    switch (lower) {
        case u'e':
            if (digitSeen && at + 1 < text.size() &&
                (text[at + 1] == u'+' || text[at + 1] == u'-')) {
                Token token;
                token.kind = TokenKind::Exponent;
                token.exponentPlus = text[at + 1] == u'+';
                token.text = text.mid(at, 2).toString();
                section.tokens.push_back(std::move(token));
                return 2;
            }
            AppendDatePart(section, DatePart::EraYear, letters);
            return run;
        case u'g':
            if (StartsWithAt(text, at, u"General")) {
                AppendToken(section, TokenKind::General, text.mid(at, 7));
                return 7;
            }
            if (StartsWithAt(text, at, u"G/標準")) {
                AppendToken(section, TokenKind::General, text.mid(at, 4));
                return 4;
            }
            AppendDatePart(section, EraPart(run), letters);
            return run;
        case u'y':
            AppendDatePart(section, run <= 2 ? DatePart::Year2 : DatePart::Year4, letters);
            return run;
        case u'm':
            AppendDatePart(section, MonthPart(run), letters);
            return run;
        case u'd':
            AppendDatePart(section, DayPart(run), letters);
            return run;
        case u'h':
            AppendDatePart(section, DatePart::Hour, letters);
            return run;
        case u's':
            AppendDatePart(section, DatePart::Second, letters);
            return run;
        case u'a':
            if (StartsWithAt(text, at, u"AM/PM")) {
                Token token;
                token.kind = TokenKind::AmPm;
                token.text = text.mid(at, 2).toString();
                token.alternative = text.mid(at + 3, 2).toString();
                section.tokens.push_back(std::move(token));
                return 5;
            }
            if (StartsWithAt(text, at, u"A/P")) {
                Token token;
                token.kind = TokenKind::AmPm;
                token.text = text.mid(at, 1).toString();
                token.alternative = text.mid(at + 2, 1).toString();
                section.tokens.push_back(std::move(token));
                return 3;
            }
            if (run >= 3) {
                AppendDatePart(section,
                               run == 3 ? DatePart::JapaneseWeekday : DatePart::JapaneseWeekdayFull,
                               letters);
                return run;
            }
            return 0;
        default:
            return 0;
    }
}

qsizetype ReadQuoted(QStringView text, qsizetype at, Section& section) {
    qsizetype close = text.indexOf(u'"', at + 1);
    if (close < 0) {
        section.malformed = true;
        close = text.size();
    }
    AppendLiteral(section, text.mid(at + 1, close - at - 1));
    return close + 1 - at;
}

// \x shows x, _x one space (the width of x), *x nothing (x would fill the cell).
qsizetype ReadEscape(QStringView text, qsizetype at, Section& section) {
    const qsizetype length = at + 1 < text.size() ? CharacterLength(text, at + 1) : 0;
    section.malformed = section.malformed || length == 0;
    if (text[at] == u'\\') {
        AppendLiteral(section, text.mid(at + 1, length));
    } else if (text[at] == u'_') {
        AppendLiteral(section, u" ");
    }
    return 1 + length;
}

// Returns the characters used, or -1 when a system format tag replaced the whole section.
qsizetype ReadBracket(QStringView text, qsizetype at, Section& section) {
    const qsizetype close = text.indexOf(u']', at + 1);
    if (close < 0) {
        section.malformed = true;
        AppendLiteral(section, text.mid(at, 1));
        return 1;
    }
    const QStringView tag = text.mid(at + 1, close - at - 1);
    const QStringView system = SystemFormatForTag(tag);
    if (system.isEmpty()) {
        ApplyBracketTag(tag, section);
        return close + 1 - at;
    }
    // The system's own date or time format replaces the rest of the section.
    Section replaced = TokenizeSection(system);
    replaced.condition = section.condition;
    replaced.language = Language::Japanese;
    replaced.kanji = section.kanji;
    section = std::move(replaced);
    return -1;
}

qsizetype ReadPunctuation(QStringView text, qsizetype at, Section& section, bool& digitSeen) {
    const char16_t c = text[at].unicode();
    switch (c) {
        case u'0':
        case u'#':
        case u'?': {
            Token token;
            token.kind = TokenKind::DigitPlaceholder;
            token.placeholder = c;
            token.text = text.mid(at, 1).toString();
            section.tokens.push_back(std::move(token));
            digitSeen = true;
            return 1;
        }
        case u'.':
            AppendToken(section, TokenKind::DecimalPoint, text.mid(at, 1));
            return 1;
        case u',':
            AppendToken(section, TokenKind::Comma, text.mid(at, 1));
            return 1;
        case u'%':
            AppendToken(section, TokenKind::Percent, text.mid(at, 1));
            return 1;
        case u'/':
            AppendToken(section, TokenKind::FractionSlash, text.mid(at, 1));
            return 1;
        case u'@':
            AppendToken(section, TokenKind::TextPlaceholder, text.mid(at, 1));
            return 1;
        default:
            return 0;
    }
}

}  // namespace

std::vector<QStringView> SplitSections(QStringView code) {
    std::vector<QStringView> sections;
    qsizetype start = 0;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const char16_t c = code[i].unicode();
        if (c == u'"') {
            const qsizetype close = code.indexOf(u'"', i + 1);
            i = close < 0 ? code.size() : close;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype close = code.indexOf(u']', i + 1);
            i = close < 0 ? i : close;
        } else if (c == u';') {
            sections.push_back(code.mid(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(code.mid(start));
    return sections;
}

Section TokenizeSection(QStringView text) {
    Section section;
    section.empty = text.isEmpty();
    bool digitSeen = false;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype used = 0;
        switch (text[i].unicode()) {
            case u'"':
                used = ReadQuoted(text, i, section);
                break;
            case u'\\':
            case u'_':
            case u'*':
                used = ReadEscape(text, i, section);
                break;
            case u'[':
                used = ReadBracket(text, i, section);
                if (used < 0) {
                    return section;  // replaced by a system format
                }
                break;
            default:
                used = ReadPunctuation(text, i, section, digitSeen);
                if (used == 0) {
                    used = ReadLetters(text, i, digitSeen, section);
                }
                if (used == 0) {
                    used = CharacterLength(text, i);
                    AppendLiteral(section, text.mid(i, used));
                }
                break;
        }
        i += used;
    }
    return section;
}

}  // namespace zarame::numformat
