#include "report/engine/page_item.h"

#include <charconv>
#include <cstdio>
#include <stdexcept>

namespace nfp {

namespace {

std::optional<int> Digits(std::string_view s) {
    int value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<unsigned> Hex(std::string_view s) {
    unsigned value = 0;
    for (char c : s) {
        unsigned d;
        if (c >= '0' && c <= '9') d = static_cast<unsigned>(c - '0');
        else if (c >= 'A' && c <= 'F') d = static_cast<unsigned>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f') d = static_cast<unsigned>(c - 'a' + 10);
        else return std::nullopt;
        value = value * 16 + d;
    }
    return value;
}

} // namespace

std::string FormatPageItem(const PageItem& item) {
    std::string out;
    FormatPageItemInto(item, item.text, out);
    return out;
}

void FormatPageItemInto(const PageItem& item, std::string_view text, std::string& out) {
    if (item.page < 0 || item.page > 9999 || item.line < 0 || item.line > 999 || item.column < 0 || item.column > 999)
        throw std::invalid_argument("page item position out of range");
    out.resize(kPageItemTextPos);
    const auto put = [&](std::size_t at, std::size_t width, unsigned value) {
        for (std::size_t i = width; i-- > 0; value /= 10) out[at + i] = static_cast<char>('0' + value % 10);
    };
    put(0, 4, static_cast<unsigned>(item.page));
    put(4, 3, static_cast<unsigned>(item.line));
    put(7, 3, static_cast<unsigned>(item.column));
    put(10, 3, item.fontCode);
    out[13] = item.kind;
    constexpr char hex[] = "0123456789ABCDEF";
    const TColor color = ItemColor(item.color);
    for (int i = 0; i < 6; ++i) out[14 + static_cast<std::size_t>(i)] = hex[(color >> (20 - 4 * i)) & 0xF];
    out.append(text);
}

std::optional<PageItem> ParsePageItem(std::string_view s) {
    if (s.size() < kPageItemTextPos) return std::nullopt;
    const auto page = Digits(s.substr(0, 4));
    const auto line = Digits(s.substr(4, 3));
    const auto column = Digits(s.substr(7, 3));
    const auto code = Digits(s.substr(10, 3));
    const auto color = Hex(s.substr(14, 6));
    if (!page || !line || !column || !code || !color || *code > 255) return std::nullopt;
    PageItem item;
    item.page = *page;
    item.line = *line;
    item.column = *column;
    item.fontCode = static_cast<std::uint8_t>(*code);
    item.kind = s[13];
    item.color = *color;
    item.text = std::string(s.substr(kPageItemTextPos));
    return item;
}

} // namespace nfp
