#include "util/date_code.h"

#include "util/integer_text.h"
#include "util/text_codec.h"

#include <vector>

namespace nfp {
namespace {

// The text's characters; a malformed byte counts as one character.
std::vector<std::string_view> Characters(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t p = 0;
    while (p < text.size()) {
        const std::size_t start = p;
        if (!DecodeUtf8At(text, p)) p = start + 1;
        out.push_back(text.substr(start, p - start));
    }
    return out;
}

std::string Slice(const std::vector<std::string_view>& chars, std::size_t from, std::size_t count) {
    std::string out;
    for (std::size_t i = from; i < chars.size() && i < from + count; ++i) out += chars[i];
    return out;
}

// What a code character stands for: a digit its value, anything else its
// single-byte code minus 55.
std::optional<int> CodeValue(std::string_view ch) {
    if (ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9') return ch[0] - '0';
    std::size_t p = 0;
    const auto cp = DecodeUtf8At(ch, p);
    if (!cp) return static_cast<unsigned char>(ch[0]) - 55;
    const auto byte = Windows1252Byte(*cp);
    if (!byte) return std::nullopt;
    return static_cast<int>(*byte) - 55;
}

} // namespace

char CodeDigit(std::int32_t n) {
    if (n < 0) return '-';
    if (n <= 9) return static_cast<char>('0' + n);
    if (n <= 34) return static_cast<char>(n + 55);
    return 'Z';
}

std::string MonthPattern(std::string_view monthText) {
    const auto chars = Characters(monthText);
    const std::int32_t month = ParseInt32(Slice(chars, 0, 2));
    const std::int32_t year2 = ParseInt32(Slice(chars, 5, 2));
    return std::string("*.?") + CodeDigit(month) + CodeDigit(year2);
}

std::string DateToCode(const Date& date) {
    const int year2 = ((static_cast<int>(date.year()) % 100) + 100) % 100;
    return {CodeDigit(static_cast<std::int32_t>(static_cast<unsigned>(date.day()))),
            CodeDigit(static_cast<std::int32_t>(static_cast<unsigned>(date.month()))), CodeDigit(year2)};
}

std::optional<Date> CodeToDate(std::string_view code, const RegionalSettings& rs, int currentYear) {
    const auto chars = Characters(code);
    if (chars.size() < 3) return std::nullopt;
    int n[3];
    for (int i = 0; i < 3; ++i) {
        const auto v = CodeValue(chars[static_cast<std::size_t>(i)]);
        if (!v) return std::nullopt;
        n[i] = *v;
    }
    const std::string text = std::to_string(n[0]) + "/" + std::to_string(n[1]) + "/" + std::to_string(n[2]);
    return ParseShortDate(text, rs, currentYear);
}

} // namespace nfp
