#include "numformat/bracket_tag.h"

#include <QString>

namespace zarame::numformat {
namespace {

constexpr char16_t kSystemLongDate[] = u"yyyy\"年\"m\"月\"d\"日\"";
constexpr char16_t kSystemTime[] = u"h:mm:ss";

bool AllLetters(QStringView text, char16_t lower) {
    if (text.isEmpty()) {
        return false;
    }
    for (QChar c : text) {
        if (c.toLower().unicode() != lower) {
            return false;
        }
    }
    return true;
}

bool ApplyElapsed(QStringView tag, Section& section) {
    static constexpr struct {
        char16_t letter;
        DatePart part;
    } kElapsed[] = {{u'h', DatePart::ElapsedHours},
                    {u'm', DatePart::ElapsedMinutes},
                    {u's', DatePart::ElapsedSeconds}};
    for (const auto& elapsed : kElapsed) {
        if (AllLetters(tag, elapsed.letter)) {
            Token token;
            token.kind = TokenKind::DatePart;
            token.datePart = elapsed.part;
            token.width = static_cast<std::uint8_t>(qMin<qsizetype>(tag.size(), 9));
            token.text = u'[' + tag.toString() + u']';
            section.tokens.push_back(std::move(token));
            return true;
        }
    }
    return false;
}

bool ApplyCondition(QStringView tag, Section& section) {
    static constexpr struct {
        QStringView text;
        Comparison comparison;
    } kOperators[] = {{u"<=", Comparison::LessEqual}, {u">=", Comparison::GreaterEqual},
                      {u"<>", Comparison::NotEqual},  {u"<", Comparison::Less},
                      {u">", Comparison::Greater},    {u"=", Comparison::Equal}};
    for (const auto& op : kOperators) {
        if (tag.startsWith(op.text)) {
            bool ok = false;
            const double operand = tag.mid(op.text.size()).trimmed().toDouble(&ok);
            if (ok) {
                section.condition = {op.comparison, operand};
            } else {
                section.malformed = true;
            }
            return true;
        }
    }
    return false;
}

bool IsHex(QStringView text) {
    if (text.isEmpty() || text.size() > 8) {
        return false;
    }
    for (QChar c : text) {
        if (!c.isDigit() && !(c.toLower() >= u'a' && c.toLower() <= u'f')) {
            return false;
        }
    }
    return true;
}

void ApplyLocale(QStringView locale, Section& section) {
    if (IsHex(locale)) {
        const unsigned value = locale.toUInt(nullptr, 16);
        const unsigned languageId = value & 0xFFFF;
        const unsigned calendar = (value >> 16) & 0xFF;
        // 0x0411 is Japanese; calendar 3 is the Japanese era calendar.
        if (languageId == 0x0411 || calendar == 3) {
            section.language = Language::Japanese;
        }
        return;
    }
    const QString name = locale.toString().toLower();
    if (name.startsWith(u"ja")) {
        section.language = Language::Japanese;
    }
    if (name.contains(u"x-gannen")) {
        section.eraFirstYearAsGannen = true;
    }
}

void ApplyCurrencyAndLocale(QStringView tag, Section& section) {
    const QStringView body = tag.mid(1);  // after '$'
    const qsizetype dash = body.indexOf(u'-');
    const QStringView currency = dash < 0 ? body : body.left(dash);
    if (!currency.isEmpty()) {
        Token token;
        token.text = currency.toString();
        section.tokens.push_back(std::move(token));
    }
    if (dash >= 0) {
        ApplyLocale(body.mid(dash + 1), section);
    }
}

}  // namespace

QStringView SystemFormatForTag(QStringView tag) {
    if (!tag.startsWith(u"$-")) {
        return {};
    }
    const QStringView locale = tag.mid(2);
    if (locale.compare(u"F800", Qt::CaseInsensitive) == 0 ||
        locale.compare(u"x-sysdate", Qt::CaseInsensitive) == 0) {
        return kSystemLongDate;
    }
    if (locale.compare(u"F400", Qt::CaseInsensitive) == 0 ||
        locale.compare(u"x-systime", Qt::CaseInsensitive) == 0) {
        return kSystemTime;
    }
    return {};
}

void ApplyBracketTag(QStringView tag, Section& section) {
    if (tag.startsWith(u'$')) {
        ApplyCurrencyAndLocale(tag, section);
        return;
    }
    if (ApplyCondition(tag, section) || ApplyElapsed(tag, section)) {
        return;
    }
    if (tag.size() == 6 && tag.startsWith(u"DBNum", Qt::CaseInsensitive)) {
        switch (tag[5].unicode()) {
            case u'1':
                section.kanji = KanjiNumerals::Plain;
                break;
            case u'2':
                section.kanji = KanjiNumerals::Formal;
                break;
            case u'3':
                section.kanji = KanjiNumerals::FullWidth;
                break;
            default:
                break;
        }
    }
    // Colours ([Red], [Color10], [赤]) and unknown tags change nothing in the text.
}

}  // namespace zarame::numformat
