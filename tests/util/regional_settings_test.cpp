#include "util/regional_settings.h"

#include <gtest/gtest.h>

using namespace nfp;
using namespace std::chrono;

namespace {
RegionalSettings Order(DateOrder o, std::string sep = "/") {
    RegionalSettings rs = RegionalSettings::Brazilian();
    rs.dateOrder = o;
    rs.dateSeparator = std::move(sep);
    return rs;
}
} // namespace

TEST(RegionalSettings, ParseShortDate) {
    struct Case { DateOrder order; const char* text; std::optional<Date> want; };
    const auto D = [](int y, unsigned m, unsigned d) { return std::optional<Date>(Date{year{y}, month{m}, day{d}}); };
    const std::optional<Date> none;
    const Case cases[] = {
        {DateOrder::DayMonthYear, "14/02/2009", D(2009, 2, 14)},
        {DateOrder::MonthDayYear, "14/02/2009", none},
        {DateOrder::MonthDayYear, "02/14/2009", D(2009, 2, 14)},
        {DateOrder::YearMonthDay, "2009/02/14", D(2009, 2, 14)},
        {DateOrder::DayMonthYear, " 4/02/2009", D(2009, 2, 4)},
        {DateOrder::DayMonthYear, "14 / 2 / 9", D(2009, 2, 14)},
        {DateOrder::DayMonthYear, "14/02", D(2026, 2, 14)},
        {DateOrder::DayMonthYear, "14/02/", D(2026, 2, 14)},
        {DateOrder::DayMonthYear, "14/02/2009/", D(2009, 2, 14)},
        {DateOrder::DayMonthYear, "14/02/2009 ", D(2009, 2, 14)},
        {DateOrder::DayMonthYear, "14/02/2009x", none},
        {DateOrder::DayMonthYear, "31/04/2009", none},
        {DateOrder::DayMonthYear, "29/02/2009", none},
        {DateOrder::DayMonthYear, "0/1/2009", none},
        {DateOrder::DayMonthYear, "14", none},
        {DateOrder::DayMonthYear, "", none},
        {DateOrder::DayMonthYear, "-1/1/2009", none},
        {DateOrder::DayMonthYear, "1/1/76", D(1976, 1, 1)},
        {DateOrder::DayMonthYear, "1/1/75", D(2075, 1, 1)},
        {DateOrder::DayMonthYear, "1/1/076", D(76, 1, 1)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseShortDate(c.text, Order(c.order), 2026), c.want) << c.text;
    }
    EXPECT_FALSE(ParseShortDate("14/02/2009", Order(DateOrder::DayMonthYear, "."), 2026));
    EXPECT_EQ(ParseShortDate("14.02.2009", Order(DateOrder::DayMonthYear, "."), 2026), D(2009, 2, 14));
}

TEST(RegionalSettings, YearWindow) {
    EXPECT_EQ(WindowTwoDigitYear(0, 2025), 2000);
    EXPECT_EQ(WindowTwoDigitYear(35, 2025), 2035);
    EXPECT_EQ(WindowTwoDigitYear(74, 2025), 2074);
    EXPECT_EQ(WindowTwoDigitYear(75, 2025), 1975);
    EXPECT_EQ(WindowTwoDigitYear(99, 2025), 1999);
}

TEST(RegionalSettings, Formatting) {
    const Date d{year{2009}, month{3}, day{5}};
    EXPECT_EQ(FormatShortDate(d, RegionalSettings::Brazilian()), "05/03/2009");
    EXPECT_EQ(FormatShortDate(d, Order(DateOrder::MonthDayYear)), "03/05/2009");
    EXPECT_EQ(FormatShortDate(d, Order(DateOrder::YearMonthDay, "-")), "2009-03-05");
    EXPECT_EQ(FormatTime(hh_mm_ss<seconds>(hours{9} + minutes{5} + seconds{7}), RegionalSettings::Brazilian()), "09:05:07");
    EXPECT_EQ(WeekdayIndex(Date{year{2026}, month{12}, day{10}}), 4u); // a Thursday
}

TEST(RegionalSettings, CLocaleFallsBackToBrazilian) {
    const auto rs = RegionalSettings::FromLocale("C");
    EXPECT_EQ(rs.dateOrder, DateOrder::DayMonthYear);
    EXPECT_EQ(rs.dateSeparator, "/");
    EXPECT_EQ(rs.longMonthNames[2], "março");
    EXPECT_EQ(RegionalSettings::FromLocale("xx_NOWHERE.UTF-8").longDayNames[6], "sábado");
}
