// Date codes: a code that reads as a date gives that date's code back, a
// date's code reads as that date, and the month pattern of any month text
// is a pattern or a conversion error.
//
// Input: a settings byte, a year byte (1950 + n), two bytes for a date
// (days from 1 January 2000), then the code text.
#include <chrono>

#include "fuzz_input.h"
#include "fuzz_regional.h"
#include "util/date_code.h"
#include "util/integer_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nfp;
    using namespace std::chrono;
    fuzz::FuzzInput input(data, size);
    const RegionalSettings rs = fuzz::RegionalChoice(input.Byte());
    const int currentYear = 1950 + input.Byte();
    const unsigned days = input.Byte() * 256u + input.Byte();
    const std::string_view code = input.Rest();

    if (const auto date = CodeToDate(code, rs, currentYear)) {
        FUZZ_CHECK(date->ok());
        const std::string again = DateToCode(*date);
        FUZZ_CHECK(again.size() == 3);
        // A date of the two-digit-year window whose year has a character of
        // its own (00 to 34) gives its code back; a year of three or more
        // digits in a code is taken as written and has no code of its own.
        const int y = static_cast<int>(date->year());
        if (rs.dateOrder == DateOrder::DayMonthYear && rs.dateSeparator == "/" && y % 100 < 35 &&
            y == WindowTwoDigitYear(y % 100, currentYear))
            FUZZ_CHECK(CodeToDate(again, rs, currentYear) == date);
    }

    // Dates from 2000 to 2034 have codes of their own, read back in the
    // window of any year from 1985 to 2050.
    const Date date{sys_days{year{2000} / 1 / 1} + std::chrono::days{days % 12784}};
    const std::string dateCode = DateToCode(date);
    FUZZ_CHECK(dateCode.size() == 3);
    if (rs.dateOrder == DateOrder::DayMonthYear && rs.dateSeparator == "/" && currentYear >= 1985 &&
        currentYear <= 2050)
        FUZZ_CHECK(CodeToDate(dateCode, rs, currentYear) == date);

    try {
        const std::string pattern = MonthPattern(code);
        FUZZ_CHECK(pattern.size() == 5 && pattern.starts_with("*.?"));
    } catch (const ConversionError&) {
    }
    return 0;
}
