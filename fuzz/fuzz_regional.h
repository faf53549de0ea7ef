#pragma once
// The regional settings a fuzz target tries, chosen by one input byte.
#include "util/regional_settings.h"

namespace nfp::fuzz {

inline RegionalSettings RegionalChoice(unsigned char choice) {
    RegionalSettings rs = RegionalSettings::Brazilian();
    switch (choice % 4) {
    case 1: rs.dateOrder = DateOrder::MonthDayYear; break;                         // 12/31/2009
    case 2: rs.dateOrder = DateOrder::YearMonthDay; rs.dateSeparator = "-"; break; // 2009-12-31
    case 3: rs.dateSeparator = "."; break;                                         // 31.12.2009
    default: break;                                                                // 31/12/2009
    }
    return rs;
}

} // namespace nfp::fuzz
