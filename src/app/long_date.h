#pragma once
// Today's date as the status bar shows it: the full weekday name, the day in
// two digits, "de", the full month name, "de" and the four-digit year, with
// the names of the user's locale.
#include "util/regional_settings.h"

#include <string>

namespace nfp {

std::string FormatLongDate(const Date& date, const RegionalSettings& settings);

} // namespace nfp
