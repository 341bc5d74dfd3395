#pragma once

#include "numformat/cell_format.h"

namespace zarame::numformat {

struct CivilDate {
    int year = 1900;
    int month = 1;
    int day = 0;
    int weekday = 0;  // 0 is Sunday
};

// The last day a serial date can show, 9999-12-31, in each date system.
long long LastSerialDay(DateSystem system);

// The calendar date of a whole serial day (0 to LastSerialDay). The 1900 system counts the
// spreadsheet's own 1900-02-29 as day 60 and shows day 0 as 1900-01-00; its weekdays follow
// the serial numbers, so the days before 1900-03-01 are one weekday off the real calendar.
CivilDate SerialDayToDate(long long day, DateSystem system);

// The Japanese era of a date: index 0 Meiji, 1 Taisho, 2 Showa, 3 Heisei, 4 Reiwa.
struct JapaneseEra {
    int index = 0;
    int year = 1;
};
JapaneseEra EraOf(const CivilDate& date);

}  // namespace zarame::numformat
