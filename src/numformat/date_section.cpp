#include "numformat/date_section.h"

#include <cmath>

#include "numformat/calendar.h"
#include "numformat/kanji_numerals.h"

namespace zarame::numformat {
namespace {

constexpr const char16_t* kMonthNames[] = {u"January",   u"February", u"March",    u"April",
                                           u"May",       u"June",     u"July",     u"August",
                                           u"September", u"October",  u"November", u"December"};
constexpr const char16_t* kWeekdayNames[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                             u"Thursday", u"Friday", u"Saturday"};
constexpr char16_t kJapaneseWeekdays[] = u"日月火水木金土";
constexpr const char16_t* kEraLetters[] = {u"M", u"T", u"S", u"H", u"R"};
constexpr const char16_t* kEraShortNames[] = {u"明", u"大", u"昭", u"平", u"令"};
constexpr const char16_t* kEraNames[] = {u"明治", u"大正", u"昭和", u"平成", u"令和"};

// The moment split into what the tokens show, rounded to the smallest unit shown.
struct Moment {
    CivilDate date;
    long long totalSeconds = 0;  // from the serial origin, for elapsed time
    int hour = 0, minute = 0, second = 0;
    long long subSecond = 0;  // in units of 10^-subSecondDigits seconds
};

void AppendPadded(QString& out, long long number, int width) {
    char16_t reversed[24];
    int length = 0;
    auto rest = static_cast<unsigned long long>(number < 0 ? 0 : number);
    do {
        reversed[length++] = static_cast<char16_t>(u'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    for (int i = length; i < width; ++i) {
        out += u'0';
    }
    while (length > 0) {
        out += QChar(reversed[--length]);
    }
}

void AppendMonth(QString& out, const Section& section, const Token& token, int month) {
    const bool japanese = section.language == Language::Japanese;
    const QStringView name(kMonthNames[month - 1]);
    switch (token.datePart) {
        case DatePart::MonthName:
            japanese ? (out += QString::number(month) + u'月') : (out += name.left(3));
            break;
        case DatePart::MonthFull:
            japanese ? (out += QString::number(month) + u'月') : (out += name);
            break;
        default:  // MonthLetter
            japanese ? (out += QString::number(month)) : (out += name.left(1));
            break;
    }
}

void AppendWeekday(QString& out, const Section& section, DatePart part, int weekday) {
    const bool japanese = section.language == Language::Japanese ||
                          part == DatePart::JapaneseWeekday ||
                          part == DatePart::JapaneseWeekdayFull;
    const bool full = part == DatePart::WeekdayFull || part == DatePart::JapaneseWeekdayFull;
    if (japanese) {
        out += kJapaneseWeekdays[weekday];
        if (full) {
            out += u"曜日";
        }
        return;
    }
    const QStringView name(kWeekdayNames[weekday]);
    out += full ? name : name.left(3);
}

void AppendEraYear(QString& out, const Section& section, const Token& token, int year) {
    if (year == 1 && section.eraFirstYearAsGannen) {
        out += u'元';
        return;
    }
    AppendPadded(out, year, token.width >= 2 ? 2 : 1);
}

void AppendSubSecond(QString& out, const Section& section, const Token& token, long long sub) {
    QString digits = QString::number(sub);
    while (digits.size() < section.subSecondDigits) {
        digits.prepend(u'0');
    }
    out += u'.';
    out += digits.left(token.width);
}

void AppendHour(QString& out, const Section& section, const Token& token, int hour) {
    if (section.twelveHour) {
        hour %= 12;
        hour = hour == 0 ? 12 : hour;
    }
    AppendPadded(out, hour, token.width >= 2 ? 2 : 1);
}

void AppendDatePart(QString& out, const Section& section, const Token& token,
                    const Moment& moment) {
    const int width = token.width >= 2 ? 2 : 1;
    switch (token.datePart) {
        case DatePart::Year2:
        case DatePart::Year4: {
            const bool two = token.datePart == DatePart::Year2;
            const qsizetype start = out.size();
            AppendPadded(out, two ? moment.date.year % 100 : moment.date.year, two ? 2 : 4);
            if (section.kanji != KanjiNumerals::None) {
                // Years read digit by digit (二〇二四), not as a number.
                const QString year = out.mid(start);
                out.truncate(start);
                AppendKanjiDigits(out, year, section.kanji);
            }
            break;
        }
        case DatePart::Month:
            AppendPadded(out, moment.date.month, width);
            break;
        case DatePart::MonthName:
        case DatePart::MonthFull:
        case DatePart::MonthLetter:
            AppendMonth(out, section, token, moment.date.month);
            break;
        case DatePart::Day:
            AppendPadded(out, moment.date.day, width);
            break;
        case DatePart::WeekdayName:
        case DatePart::WeekdayFull:
        case DatePart::JapaneseWeekday:
        case DatePart::JapaneseWeekdayFull:
            AppendWeekday(out, section, token.datePart, moment.date.weekday);
            break;
        case DatePart::Hour:
            AppendHour(out, section, token, moment.hour);
            break;
        case DatePart::Minute:
            AppendPadded(out, moment.minute, width);
            break;
        case DatePart::Second:
            AppendPadded(out, moment.second, width);
            break;
        case DatePart::ElapsedHours:
            AppendPadded(out, moment.totalSeconds / 3600, token.width);
            break;
        case DatePart::ElapsedMinutes:
            AppendPadded(out, moment.totalSeconds / 60, token.width);
            break;
        case DatePart::ElapsedSeconds:
            AppendPadded(out, moment.totalSeconds, token.width);
            break;
        case DatePart::SubSecond:
            AppendSubSecond(out, section, token, moment.subSecond);
            break;
        case DatePart::EraYear:
            AppendEraYear(out, section, token, EraOf(moment.date).year);
            break;
        case DatePart::EraLetter:
            out += kEraLetters[EraOf(moment.date).index];
            break;
        case DatePart::EraShort:
            out += kEraShortNames[EraOf(moment.date).index];
            break;
        case DatePart::EraFull:
            out += kEraNames[EraOf(moment.date).index];
            break;
    }
}

}  // namespace

bool RenderDateSection(const Section& section, double value, DateSystem system, QString& out) {
    const long long lastDay = LastSerialDay(system);
    if (!(value >= 0) || value >= static_cast<double>(lastDay + 1)) {
        return false;
    }
    long long ticksPerSecond = 1;
    for (int i = 0; i < section.subSecondDigits; ++i) {
        ticksPerSecond *= 10;
    }
    const long long ticksPerDay = 86400 * ticksPerSecond;
    const auto ticks =
        static_cast<long long>(std::llround(value * static_cast<double>(ticksPerDay)));
    const long long day = ticks / ticksPerDay;
    if (day > lastDay) {
        return false;
    }
    Moment moment;
    moment.date = SerialDayToDate(day, system);
    moment.totalSeconds = ticks / ticksPerSecond;
    const long long secondOfDay = moment.totalSeconds % 86400;
    moment.hour = static_cast<int>(secondOfDay / 3600);
    moment.minute = static_cast<int>(secondOfDay / 60 % 60);
    moment.second = static_cast<int>(secondOfDay % 60);
    moment.subSecond = ticks % ticksPerSecond;
    for (const Token& token : section.tokens) {
        switch (token.kind) {
            case TokenKind::DatePart:
                AppendDatePart(out, section, token, moment);
                break;
            case TokenKind::AmPm:
                // A Japanese tag turns AM/PM into 午前/午後; the one-letter A/P stays as written.
                if (section.language == Language::Japanese && token.text.size() == 2) {
                    out += moment.hour < 12 ? u"午前" : u"午後";
                } else {
                    out += moment.hour < 12 ? token.text : token.alternative;
                }
                break;
            default:
                out += token.text;
                break;
        }
    }
    return true;
}

}  // namespace zarame::numformat
