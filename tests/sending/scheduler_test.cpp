// When a scheduled send falls due, and how the time field is read.
#include "sending/scheduler.h"

#include <gtest/gtest.h>

namespace nfp {
namespace {

using std::chrono::seconds;

LocalMoment At(unsigned day, int hh, int mm, int ss)
{
    return LocalMoment{Date{std::chrono::year{2025}, std::chrono::month{12}, std::chrono::day{day}},
                       seconds{hh * 3600 + mm * 60 + ss}};
}

TEST(Scheduler, TimeOfDayReading)
{
    struct Case { const char* text; const char* sep; std::optional<int> secs; };
    const Case cases[] = {
        {"14:30:00", ":", 14 * 3600 + 30 * 60},
        {" 9:30:00", ":", 9 * 3600 + 30 * 60},
        {"09:30:00", ":", 9 * 3600 + 30 * 60},
        {"00:00:00", ":", 0},
        {"23:59:59", ":", 86399},
        {"25:00:00", ":", std::nullopt},
        {"12:60:00", ":", std::nullopt},
        {"12:00:60", ":", std::nullopt},
        {"  :  :  ", ":", std::nullopt},
        {"12:3 :00", ":", 12 * 3600 + 3 * 60},
        {"12: 3:00", ":", 12 * 3600 + 3 * 60},
        {"12:  :00", ":", std::nullopt},
        {"14.30.00", ".", 14 * 3600 + 30 * 60},
        {"14:30:00", ".", std::nullopt},
        {"", ":", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto t = ParseTimeOfDay(c.text, c.sep);
        if (c.secs)
            EXPECT_EQ(t, seconds{*c.secs}) << c.text;
        else
            EXPECT_FALSE(t.has_value()) << c.text;
    }
}

TEST(Scheduler, FallsDueOnceBetweenTwoTicks)
{
    const LocalMoment at = At(8, 14, 30, 0);
    struct Case { LocalMoment previous, now; bool due; const char* what; };
    const Case cases[] = {
        {At(8, 14, 29, 59), At(8, 14, 30, 0), true, "the tick of the second"},
        {At(8, 14, 29, 58), At(8, 14, 29, 59), false, "a second early"},
        {At(8, 14, 30, 0), At(8, 14, 30, 1), false, "the tick after (fired already)"},
        {At(8, 14, 29, 59), At(8, 14, 30, 1), true, "a skipped second"},
        {At(8, 14, 29, 50), At(8, 14, 30, 5), true, "a thread busy for fifteen seconds"},
        {At(8, 14, 30, 5), At(8, 14, 30, 6), false, "already past when switched on"},
        {At(7, 14, 29, 59), At(7, 14, 30, 0), false, "the same time on another day"},
        {At(7, 23, 59, 59), At(8, 14, 30, 0), true, "ticks across midnight"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScheduleFallsDue(c.previous, c.now, at), c.due) << c.what;
}

} // namespace
} // namespace nfp
