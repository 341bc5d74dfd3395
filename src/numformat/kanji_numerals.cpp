#include "numformat/kanji_numerals.h"

namespace zarame::numformat {
namespace {

struct Style {
    const char16_t* digits;       // 0 to 9
    const char16_t* smallPlaces;  // tens, hundreds, thousands
    const char16_t* largePlaces;  // 10^4, 10^8, 10^12, 10^16
    bool oneBefore[3];            // 壱阡 but 百 and 拾
    bool placeWords;              // false: digit by digit
    char16_t decimalPoint;
};

constexpr Style kPlain{u"〇一二三四五六七八九", u"十百千", u"万億兆京",
                       {false, false, false},   true,      u'・'};
constexpr Style kFormal{u"零壱弐参四伍六七八九", u"拾百阡", u"萬億兆京",
                        {false, false, true},    true,      u'・'};
constexpr Style kFullWidth{u"０１２３４５６７８９", u"", u"", {}, false, u'．'};

const Style& StyleOf(KanjiNumerals kanji) {
    return kanji == KanjiNumerals::Formal      ? kFormal
           : kanji == KanjiNumerals::FullWidth ? kFullWidth
                                               : kPlain;
}

// One group of up to four digits (0 to 9999) with its place words.
void AppendGroup(QString& out, QStringView digits, const Style& style) {
    const qsizetype count = digits.size();
    for (qsizetype i = 0; i < count; ++i) {
        const int digit = digits[i].unicode() - u'0';
        const qsizetype place = count - 1 - i;
        if (digit == 0) {
            continue;
        }
        if (digit != 1 || place == 0 || style.oneBefore[place - 1]) {
            out += style.digits[digit];
        }
        if (place > 0) {
            out += style.smallPlaces[place - 1];
        }
    }
}

void AppendWholeNumber(QString& out, QStringView digits, const Style& style) {
    while (digits.size() > 1 && digits[0] == u'0') {
        digits = digits.mid(1);
    }
    if (!style.placeWords || digits == u"0" || digits.size() > 20) {
        for (QChar c : digits) {
            out += style.digits[c.unicode() - u'0'];
        }
        return;
    }
    const qsizetype groups = (digits.size() + 3) / 4;
    qsizetype start = 0;
    for (qsizetype group = groups - 1; group >= 0; --group) {
        const qsizetype length = digits.size() - group * 4 - start;
        const QStringView part = digits.mid(start, length);
        start += length;
        const qsizetype before = out.size();
        AppendGroup(out, part, style);
        if (group > 0 && out.size() > before) {
            out += style.largePlaces[group - 1];
        }
    }
}

}  // namespace

QString ToKanjiNumerals(QStringView text, KanjiNumerals kanji) {
    const Style& style = StyleOf(kanji);
    QString out;
    out.reserve(text.size() * 2);
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] < u'0' || text[i] > u'9') {
            const bool point = text[i] == u'.' && i + 1 < text.size() && text[i + 1] >= u'0' &&
                               text[i + 1] <= u'9';
            out += point ? QChar(style.decimalPoint) : text[i];
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && text[end] >= u'0' && text[end] <= u'9') {
            ++end;
        }
        const QStringView run = text.mid(i, end - i);
        if (i > 0 && text[i - 1] == u'.') {
            for (QChar c : run) {
                out += style.digits[c.unicode() - u'0'];
            }
        } else {
            AppendWholeNumber(out, run, style);
        }
        i = end;
    }
    return out;
}

void AppendKanjiDigits(QString& out, QStringView digits, KanjiNumerals kanji) {
    const Style& style = StyleOf(kanji);
    for (QChar c : digits) {
        out += c >= u'0' && c <= u'9' ? QChar(style.digits[c.unicode() - u'0']) : c;
    }
}

}  // namespace zarame::numformat
