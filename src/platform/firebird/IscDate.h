#pragma once

#include <ibase.h>

namespace firebird {

struct CivilDate {
    int year;
    int month;  // 1..12
    int day;    // 1..31
};

struct TimeOfDay {
    int hour;
    int minute;
    int second;
    int fraction;  // ten-thousandths of a second, as the server keeps them
};

// ISC_DATE counts days from 17 November 1858 (the modified Julian day).
CivilDate civilFromIscDate(ISC_DATE date) noexcept;
ISC_DATE iscDateFromCivil(const CivilDate& date) noexcept;
TimeOfDay timeOfDayFromIscTime(ISC_TIME time) noexcept;

}  // namespace firebird
