#pragma once
// The month a batch run sends: the current one (what the window's month
// field shows at start-up), the one before it, or one given as MM/AAAA.
#include "util/regional_settings.h"

#include <optional>
#include <string>
#include <string_view>

namespace nfp {

struct RunMonth {
    enum class Kind { Atual, Anterior, Given };
    Kind kind = Kind::Atual;
    unsigned month = 0; // 1..12, for Given
    int year = 0;       // four digits, for Given

    friend bool operator==(const RunMonth&, const RunMonth&) = default;
};

// "atual", "anterior", or a month "MM/AAAA" (also "M/AAAA") of month 1 to
// 12; nothing for any other text.
std::optional<RunMonth> ParseRunMonth(std::string_view text);

// The month field's text for `today`: "mm/yyyy", as MonthPattern reads it.
std::string MonthFieldText(const RunMonth& month, const Date& today);

} // namespace nfp
