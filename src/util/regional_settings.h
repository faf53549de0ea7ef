#pragma once
// The user's regional date and time conventions, read once from the locale
// and passed explicitly to whatever formats or reads dates.
#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace nfp {

enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

struct RegionalSettings {
    DateOrder dateOrder = DateOrder::DayMonthYear;
    std::string dateSeparator = "/";
    std::string timeSeparator = ":";
    // Weekday names start with Sunday. All names are UTF-8.
    std::array<std::string, 7> longDayNames;
    std::array<std::string, 12> longMonthNames;

    // Day/month/year with "/" and ":", Portuguese names.
    static RegionalSettings Brazilian();
    // From LC_TIME of the environment; the C or POSIX locale, or one whose
    // short date cannot be understood, gives Brazilian().
    static RegionalSettings FromEnvironment();
    // From a named locale ("pt_BR.UTF-8", "en_US.UTF-8", ...); Brazilian()
    // when it does not exist.
    static RegionalSettings FromLocale(const std::string& localeName);
};

using Date = std::chrono::year_month_day;

// Reads a short date the way the platform's date parsing does: blanks
// skipped before numbers and separators, two or three numbers, the format's
// order, a one- or two-digit year placed in the window of 100 years that
// starts 50 years before `currentYear`, two numbers meaning day and month of
// `currentYear`, one trailing separator allowed. No date when anything else
// is found or the date does not exist (years 1 to 9999).
std::optional<Date> ParseShortDate(std::string_view text, const RegionalSettings& rs, int currentYear);

// The two-digit-year window: `year` (0..99) placed within
// currentYear - 50 .. currentYear + 49.
int WindowTwoDigitYear(int year, int currentYear);

// Short date: two-digit day and month, four-digit year, in the settings'
// order and separator (dd/mm/yyyy under the Brazilian settings).
std::string FormatShortDate(const Date& d, const RegionalSettings& rs);

// Time of day as hh:mm:ss with the settings' separator.
std::string FormatTime(const std::chrono::hh_mm_ss<std::chrono::seconds>& t, const RegionalSettings& rs);

// 0 = Sunday.
unsigned WeekdayIndex(const Date& d);

} // namespace nfp
