#pragma once
// The journal's `quando`: the local wall-clock time with its UTC offset in
// ISO 8601, e.g. "2026-12-10T15:40:11-03:00".
#include <ctime>
#include <functional>
#include <string>

namespace nfp {

// Broken-down local time and its offset east of UTC in seconds.
std::string FormatLocalTimestamp(const std::tm& local, long offsetSeconds);
// The system clock now, in the local time zone.
std::string LocalTimestampNow();

using TimestampClock = std::function<std::string()>;

} // namespace nfp
