#include "report/engine/report_services.h"

#include <ctime>

namespace nfp {

LocalDateTime SystemLocalDateTime() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &now);
#else
    localtime_r(&now, &tm);
#endif
    LocalDateTime out;
    out.date = Date{std::chrono::year{tm.tm_year + 1900}, std::chrono::month{static_cast<unsigned>(tm.tm_mon + 1)},
                    std::chrono::day{static_cast<unsigned>(tm.tm_mday)}};
    out.time = std::chrono::hh_mm_ss<std::chrono::seconds>{
        std::chrono::seconds{tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec}};
    return out;
}

} // namespace nfp
