#include "lote/run_month.h"

#include <cstdio>

namespace nfp {

namespace {

bool AllDigits(std::string_view text)
{
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return !text.empty();
}

int Number(std::string_view digits)
{
    int n = 0;
    for (const char c : digits)
        n = n * 10 + (c - '0');
    return n;
}

} // namespace

std::optional<RunMonth> ParseRunMonth(std::string_view text)
{
    if (text == "atual")
        return RunMonth{};
    if (text == "anterior")
        return RunMonth{RunMonth::Kind::Anterior};
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    const std::string_view month = text.substr(0, slash);
    const std::string_view year = text.substr(slash + 1);
    if (month.size() > 2 || year.size() != 4 || !AllDigits(month) || !AllDigits(year))
        return std::nullopt;
    const int m = Number(month);
    if (m < 1 || m > 12)
        return std::nullopt;
    return RunMonth{RunMonth::Kind::Given, static_cast<unsigned>(m), Number(year)};
}

std::string MonthFieldText(const RunMonth& month, const Date& today)
{
    using namespace std::chrono;
    year_month ym = today.year() / today.month();
    if (month.kind == RunMonth::Kind::Anterior)
        ym -= months{1};
    else if (month.kind == RunMonth::Kind::Given)
        ym = year{month.year} / std::chrono::month{month.month};
    char text[16];
    std::snprintf(text, sizeof text, "%02u/%04d", static_cast<unsigned>(ym.month()), static_cast<int>(ym.year()));
    return text;
}

} // namespace nfp
