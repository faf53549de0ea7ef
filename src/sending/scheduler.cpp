#include "sending/scheduler.h"

#include <string>

namespace nfp {

namespace {

// Blanks, then one or two digits; advances `pos`.
std::optional<int> ReadNumber(std::string_view text, std::size_t& pos)
{
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    int value = 0;
    int digits = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 2) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

bool ReadSeparator(std::string_view text, std::size_t& pos, std::string_view separator)
{
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    if (text.substr(pos, separator.size()) != separator)
        return false;
    pos += separator.size();
    return true;
}

} // namespace

std::optional<std::chrono::seconds> ParseTimeOfDay(std::string_view text, std::string_view separator)
{
    if (separator.empty())
        separator = ":";
    std::size_t pos = 0;
    const auto h = ReadNumber(text, pos);
    if (!h || !ReadSeparator(text, pos, separator))
        return std::nullopt;
    const auto m = ReadNumber(text, pos);
    if (!m || !ReadSeparator(text, pos, separator))
        return std::nullopt;
    const auto s = ReadNumber(text, pos);
    if (!s)
        return std::nullopt;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    if (pos != text.size() || *h > 23 || *m > 59 || *s > 59)
        return std::nullopt;
    return std::chrono::seconds{*h * 3600 + *m * 60 + *s};
}

bool ScheduleFallsDue(const LocalMoment& previousTick, const LocalMoment& thisTick, const LocalMoment& scheduled)
{
    return previousTick < scheduled && scheduled <= thisTick;
}

} // namespace nfp
