#include "sending/local_moment.h"

#include <algorithm>
#include <ctime>

namespace nfp {

LocalMoment SystemLocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    LocalMoment m;
    m.date = Date{std::chrono::year{local.tm_year + 1900}, std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                  std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
    // A leap second reads as the last ordinary one.
    m.timeOfDay = std::chrono::seconds{local.tm_hour * 3600 + local.tm_min * 60 + std::min(local.tm_sec, 59)};
    return m;
}

} // namespace nfp
