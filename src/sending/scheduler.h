#pragma once
// When a scheduled send falls due. The clock ticks about once a second; a
// tick may come late or skip a second, so the schedule fires on the first
// tick at or after the scheduled moment, provided the tick before it came
// earlier than that moment.
#include "sending/local_moment.h"

#include <chrono>
#include <optional>
#include <string_view>

namespace nfp {

// A time of day "h:mm:ss" with the given separator: blanks before each
// number skipped, hours 0 to 23, minutes and seconds 0 to 59.
std::optional<std::chrono::seconds> ParseTimeOfDay(std::string_view text, std::string_view separator);

// True when `scheduled` lies after `previousTick` and at or before `thisTick`.
bool ScheduleFallsDue(const LocalMoment& previousTick, const LocalMoment& thisTick, const LocalMoment& scheduled);

} // namespace nfp
