#include "app/long_date.h"

#include <cstdio>

namespace nfp {

std::string FormatLongDate(const Date& date, const RegionalSettings& settings)
{
    char day[8];
    std::snprintf(day, sizeof day, "%02u", static_cast<unsigned>(date.day()));
    char year[8];
    std::snprintf(year, sizeof year, "%04d", static_cast<int>(date.year()));
    const unsigned month = static_cast<unsigned>(date.month());
    return settings.longDayNames.at(WeekdayIndex(date)) + ", " + day + " de " +
           settings.longMonthNames.at(month - 1) + " de " + year;
}

} // namespace nfp
