#include "util/date_code.h"
#include "util/integer_text.h"

#include <gtest/gtest.h>

namespace nfp {
namespace {

using namespace std::chrono;

Date D(int y, unsigned m, unsigned d) { return Date{year{y}, month{m}, day{d}}; }

TEST(DateCode, CodeDigit) {
    const std::pair<std::int32_t, char> cases[] = {
        {0, '0'}, {9, '9'}, {10, 'A'}, {11, 'B'}, {31, 'V'}, {34, 'Y'}, {35, 'Z'}, {36, 'Z'}, {99, 'Z'},
        {1000, 'Z'}, {INT32_MAX, 'Z'}, {-1, '-'}, {-35, '-'}, {INT32_MIN, '-'},
    };
    for (const auto& [n, c] : cases) EXPECT_EQ(CodeDigit(n), c) << n;
}

TEST(DateCode, MonthPattern) {
    const std::pair<const char*, const char*> cases[] = {
        {"03/2009", "*.?39"}, {"10/2010", "*.?AA"}, {"12/2034", "*.?CY"}, {"12/2035", "*.?CZ"},
        {"12/2099", "*.?CZ"}, {"00/2009", "*.?09"}, {"13/2009", "*.?D9"}, {"99/2009", "*.?Z9"},
        {"03.2009", "*.?39"}, {"03-2009", "*.?39"},
    };
    for (const auto& [text, pattern] : cases) EXPECT_EQ(MonthPattern(text), pattern) << text;
}

TEST(DateCode, MonthPatternRefusesTextThatIsNoNumber) {
    const std::pair<const char*, const char*> cases[] = {
        {"  /2009", "'  ' is not a valid integer value"},
        {"03/20  ", "'  ' is not a valid integer value"},
        {"x3/2009", "'x3' is not a valid integer value"},
        {"", "'' is not a valid integer value"},
        {"03/20", "'' is not a valid integer value"},
    };
    for (const auto& [text, message] : cases) {
        try {
            (void)MonthPattern(text);
            ADD_FAILURE() << text;
        } catch (const ConversionError& e) {
            EXPECT_STREQ(e.what(), message) << text;
        }
    }
}

TEST(DateCode, DateToCode) {
    const std::pair<Date, const char*> cases[] = {
        {D(2009, 3, 19), "J39"}, {D(2010, 10, 1), "1AA"}, {D(2035, 12, 31), "VCZ"}, {D(2011, 1, 31), "V1B"},
        {D(1999, 5, 5), "55Z"},  {D(1899, 12, 30), "UCZ"}, {D(2000, 1, 1), "110"},  {D(2034, 2, 28), "S2Y"},
    };
    for (const auto& [date, code] : cases) EXPECT_EQ(DateToCode(date), code) << code;
}

TEST(DateCode, CodeToDateDayFirst) {
    const RegionalSettings rs = RegionalSettings::Brazilian();
    struct Case { const char* code; int currentYear; std::optional<Date> date; } cases[] = {
        {"J39", 2025, D(2009, 3, 19)}, {"1AA", 2025, D(2010, 10, 1)}, {"V1B", 2025, D(2011, 1, 31)},
        {"55Z", 2025, D(2035, 5, 5)},  // a code made in 1999 comes back as 2035
        {"11[", 2025, D(2036, 1, 1)},  {"11[", 2090, D(2136, 1, 1)}, {"110", 2090, D(2100, 1, 1)},
        {"J39xyz", 2025, D(2009, 3, 19)}, // only three characters are read
        {"11a", 2025, D(2042, 1, 1)},  // a lower-case letter is its code - 55
        {"[11", 2025, std::nullopt},   {"1[1", 2025, std::nullopt},
        {"039", 2025, std::nullopt},   {"J09", 2025, std::nullopt},  {"V49", 2025, std::nullopt},
        {" 39", 2025, std::nullopt},   {"J 9", 2025, std::nullopt},  {"J3 ", 2025, std::nullopt},
        {"-39", 2025, std::nullopt},   {"J-9", 2025, std::nullopt},  {"J3-", 2025, std::nullopt},
        {"", 2025, std::nullopt},      {"J3", 2025, std::nullopt},   {"11\xce\xa9", 2025, std::nullopt},
        {"T29", 2025, std::nullopt},   {"T28", 2025, D(2008, 2, 29)},
    };
    for (const auto& c : cases) EXPECT_EQ(CodeToDate(c.code, rs, c.currentYear), c.date) << c.code;
}

TEST(DateCode, CodeToDateFollowsTheLocale) {
    RegionalSettings monthFirst = RegionalSettings::Brazilian();
    monthFirst.dateOrder = DateOrder::MonthDayYear;
    RegionalSettings dotted = RegionalSettings::Brazilian();
    dotted.dateSeparator = ".";
    struct Case { const RegionalSettings* rs; const char* code; std::optional<Date> date; } cases[] = {
        {&monthFirst, "1AA", D(2010, 1, 10)}, {&monthFirst, "J39", std::nullopt}, {&monthFirst, "31A", D(2010, 3, 1)},
        {&dotted, "J39", std::nullopt},       {&dotted, "1AA", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(CodeToDate(c.code, *c.rs, 2025), c.date) << c.code;
}

TEST(DateCode, RoundTripOverTheCodedYears) {
    const RegionalSettings rs = RegionalSettings::Brazilian();
    for (int y = 2000; y <= 2035; ++y)
        for (unsigned m = 1; m <= 12; ++m) {
            const Date last = year_month_day_last{year{y}, month_day_last{month{m}}};
            for (unsigned d = 1; d <= static_cast<unsigned>(last.day()); ++d) {
                const Date date = D(y, m, d);
                ASSERT_EQ(CodeToDate(DateToCode(date), rs, 2025), date) << DateToCode(date);
            }
        }
}

} // namespace
} // namespace nfp
