#pragma once
// A moment on the user's wall clock: the local date and the time of day to
// the second. The program's clock reads it; tests hand in their own.
#include "util/regional_settings.h"

#include <chrono>
#include <functional>

namespace nfp {

struct LocalMoment {
    Date date;
    std::chrono::seconds timeOfDay{0}; // 0 .. 86399

    friend bool operator==(const LocalMoment&, const LocalMoment&) = default;
    friend auto operator<=>(const LocalMoment& a, const LocalMoment& b)
    {
        if (auto c = a.date <=> b.date; c != 0)
            return c;
        return a.timeOfDay <=> b.timeOfDay;
    }
};

using LocalClock = std::function<LocalMoment()>;

// The system's local time.
LocalMoment SystemLocalNow();

} // namespace nfp
