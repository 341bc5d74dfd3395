#include "numformat/calendar.h"

namespace zarame::numformat {
namespace {

// Days from 1970-01-01 to a proleptic Gregorian date, and back.
constexpr long long DaysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

CivilDate CivilFromDays(long long days) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    CivilDate date;
    date.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    date.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    date.year = static_cast<int>(static_cast<long long>(yearOfEra) + era * 400 + (date.month <= 2));
    return date;
}

constexpr long long kDay1899_12_30 = DaysFromCivil(1899, 12, 30);
constexpr long long kDay1899_12_31 = DaysFromCivil(1899, 12, 31);
constexpr long long kDay1904_01_01 = DaysFromCivil(1904, 1, 1);

}  // namespace

long long LastSerialDay(DateSystem system) {
    return system == DateSystem::Date1900 ? 2958465 : 2957003;
}

CivilDate SerialDayToDate(long long day, DateSystem system) {
    CivilDate date;
    if (system == DateSystem::Date1904) {
        date = CivilFromDays(kDay1904_01_01 + day);
        date.weekday = static_cast<int>((day + 5) % 7);  // 1904-01-01 was a Friday
        return date;
    }
    if (day == 0) {
        date = {1900, 1, 0, 0};
    } else if (day == 60) {
        date = {1900, 2, 29, 0};
    } else {
        date = CivilFromDays((day < 60 ? kDay1899_12_31 : kDay1899_12_30) + day);
    }
    date.weekday = static_cast<int>((day + 6) % 7);  // serial 1 counts as a Sunday
    return date;
}

JapaneseEra EraOf(const CivilDate& date) {
    static constexpr struct {
        int year, month, day;
    } kEraStarts[] = {{1868, 1, 1}, {1912, 7, 30}, {1926, 12, 25}, {1989, 1, 8}, {2019, 5, 1}};
    const int key = date.year * 10000 + date.month * 100 + date.day;
    int index = 0;
    for (int i = 4; i > 0; --i) {
        if (key >= kEraStarts[i].year * 10000 + kEraStarts[i].month * 100 + kEraStarts[i].day) {
            index = i;
            break;
        }
    }
    return {index, date.year - kEraStarts[index].year + 1};
}

}  // namespace zarame::numformat
