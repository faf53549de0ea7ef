#include "journal/local_timestamp.h"

#include <cstdio>
#include <cstdlib>

namespace nfp {

std::string FormatLocalTimestamp(const std::tm& local, long offsetSeconds)
{
    const char sign = offsetSeconds < 0 ? '-' : '+';
    const long minutes = std::labs(offsetSeconds) / 60;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, sign, minutes / 60,
                  minutes % 60);
    return text;
}

std::string LocalTimestampNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return FormatLocalTimestamp(local, local.tm_gmtoff);
}

} // namespace nfp
