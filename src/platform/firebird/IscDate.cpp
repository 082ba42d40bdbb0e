#include "IscDate.h"

namespace firebird {

namespace {
// Days from 0000-03-01 (proleptic Gregorian) to 1858-11-17.
constexpr long kMjdEpoch = 678881;
}  // namespace

CivilDate civilFromIscDate(ISC_DATE date) noexcept {
    // Days-from-civil inverse, counting years from March so leap days fall last.
    const long z = static_cast<long>(date) + kMjdEpoch;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

ISC_DATE iscDateFromCivil(const CivilDate& d) noexcept {
    const long y = d.year - (d.month <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long mp = d.month > 2 ? d.month - 3 : d.month + 9;
    const long doy = (153 * mp + 2) / 5 + d.day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<ISC_DATE>(era * 146097 + doe - kMjdEpoch);
}

TimeOfDay timeOfDayFromIscTime(ISC_TIME time) noexcept {
    const unsigned long t = time;
    const int fraction = static_cast<int>(t % 10000);
    const unsigned long seconds = t / 10000;
    return {static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
            static_cast<int>(seconds % 60), fraction};
}

}  // namespace firebird
