#include "journal/history_line.h"

#include <charconv>

namespace nfp {

namespace {

std::optional<int> Number(const std::string& text, std::size_t from, std::size_t count)
{
    if (from + count > text.size())
        return std::nullopt;
    int value = 0;
    const char* first = text.data() + from;
    const auto [end, error] = std::from_chars(first, first + count, value);
    if (error != std::errc() || end != first + count)
        return std::nullopt;
    return value;
}

} // namespace

std::string QuandoText(const std::string& quando, const RegionalSettings& rs)
{
    const auto year = Number(quando, 0, 4), month = Number(quando, 5, 2), day = Number(quando, 8, 2);
    const auto hour = Number(quando, 11, 2), minute = Number(quando, 14, 2), second = Number(quando, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second || quando[4] != '-' || quando[7] != '-' ||
        quando[10] != 'T' || *hour > 23 || *minute > 59 || *second > 59)
        return quando;
    const Date date{std::chrono::year{*year}, std::chrono::month{static_cast<unsigned>(*month)},
                    std::chrono::day{static_cast<unsigned>(*day)}};
    if (!date.ok())
        return quando;
    const std::chrono::hh_mm_ss<std::chrono::seconds> time{
        std::chrono::seconds{*hour * 3600 + *minute * 60 + *second}};
    return FormatShortDate(date, rs) + " " + FormatTime(time, rs);
}

HistoryLine HistoryLineOf(const JournalEntry& e, const RegionalSettings& rs)
{
    return {QuandoText(e.quando, rs), e.cnpj, e.operacao, e.arquivo, e.protocolo, e.situacao, e.resultado};
}

} // namespace nfp
