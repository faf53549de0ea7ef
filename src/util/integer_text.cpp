#include "util/integer_text.h"

namespace nfp {

std::int32_t ParseInt32(std::string_view text) {
    const auto fail = [&]() -> std::int32_t {
        throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
    };
    std::size_t p = 0;
    while (p < text.size() && text[p] == ' ') ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    if (p == text.size()) return fail();
    std::int64_t value = 0;
    for (; p < text.size(); ++p) {
        const char c = text[p];
        if (c < '0' || c > '9') return fail();
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) return fail();
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return fail();
    return static_cast<std::int32_t>(value);
}

} // namespace nfp
