#pragma once
// The three-character date code of receipt-file extensions: day, month and
// the year's last two digits, one character each.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "util/regional_settings.h"

namespace nfp {

// 0..9 give "0".."9", 10..34 "A".."Y", 35 and above "Z", below 0 "-".
char CodeDigit(std::int32_t n);

// "*.?" + month character + year character, from a month text "mm/yyyy"
// (characters 1-2 and 6-7; the separator is not looked at). Throws
// ConversionError "'<two characters>' is not a valid integer value".
std::string MonthPattern(std::string_view monthText);

// The code of a date ("ddmmyy" digit pairs through CodeDigit).
std::string DateToCode(const Date& date);

// The date a code stands for, read through the locale's short-date order
// and separator, the two-digit year placed in the window around
// `currentYear`. No date for a code of fewer than three characters, one
// that does not parse, or one that is no calendar date.
std::optional<Date> CodeToDate(std::string_view code, const RegionalSettings& rs, int currentYear);

} // namespace nfp
