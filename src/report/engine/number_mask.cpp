#include "report/engine/number_mask.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace nfp {

namespace {

std::vector<std::string> Sections(std::string_view mask) {
    std::vector<std::string> out(1);
    char quote = 0;
    for (char c : mask) {
        if (quote) {
            if (c == quote) quote = 0;
            out.back().push_back(c);
        } else if (c == '"' || c == '\'') {
            quote = c;
            out.back().push_back(c);
        } else if (c == ';') {
            out.emplace_back();
        } else {
            out.back().push_back(c);
        }
    }
    return out;
}

struct Picture {
    std::string prefix, suffix;
    int integerPlaces = 0;   // placeholders before the point
    int minInteger = 0;      // from the first "0" before the point
    int minDecimals = 0;
    int maxDecimals = 0;
    bool grouping = false;
    bool anyPlaceholder = false;
};

Picture Read(const std::string& section) {
    Picture p;
    bool seenDigit = false, seenPoint = false, seenZero = false;
    std::string pendingLiteral; // literal after a placeholder: suffix if no more follow
    char quote = 0;
    for (char c : section) {
        if (quote) {
            if (c == quote) { quote = 0; continue; }
            (seenDigit ? pendingLiteral : p.prefix).push_back(c);
            continue;
        }
        if (c == '"' || c == '\'') { quote = c; continue; }
        if (c == '0' || c == '#') {
            seenDigit = true;
            p.anyPlaceholder = true;
            pendingLiteral.clear();
            if (seenPoint) {
                if (c == '0') p.minDecimals = p.maxDecimals + 1;
                ++p.maxDecimals;
            } else {
                ++p.integerPlaces;
                if (c == '0') seenZero = true;
                if (seenZero) ++p.minInteger;
            }
        } else if (c == '.') {
            if (!seenPoint) { seenPoint = true; seenDigit = true; p.anyPlaceholder = true; }
        } else if (c == ',') {
            if (!seenPoint) p.grouping = true;
        } else {
            (seenDigit ? pendingLiteral : p.prefix).push_back(c);
        }
    }
    p.suffix = pendingLiteral;
    return p;
}

// The magnitude's digits rounded half away from zero at `decimals` places,
// without the point. A picture with more places than a double's range can
// scale to is written from the value's own decimal expansion instead.
std::string RoundedDigits(double magnitude, int decimals) {
    const double scaled = magnitude * std::pow(10.0, decimals);
    if (std::isfinite(scaled)) {
        char buf[400];
        std::snprintf(buf, sizeof buf, "%.0f", std::floor(scaled + 0.5));
        return buf;
    }
    std::string digits(static_cast<std::size_t>(std::snprintf(nullptr, 0, "%.*f", decimals, magnitude)) + 1, '\0');
    digits.resize(static_cast<std::size_t>(std::snprintf(digits.data(), digits.size(), "%.*f", decimals, magnitude)));
    std::erase(digits, '.');
    return digits;
}

std::string Render(const Picture& p, double magnitude, const NumberSeparators& sep) {
    if (!p.anyPlaceholder) return p.prefix + p.suffix;
    std::string digits = RoundedDigits(magnitude, p.maxDecimals);
    if (static_cast<int>(digits.size()) <= p.maxDecimals)
        digits.insert(0, static_cast<std::size_t>(p.maxDecimals + 1) - digits.size(), '0');
    std::string integer = digits.substr(0, digits.size() - static_cast<std::size_t>(p.maxDecimals));
    std::string fraction = digits.substr(digits.size() - static_cast<std::size_t>(p.maxDecimals));
    while (static_cast<int>(fraction.size()) > p.minDecimals && !fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    // Leading zeros only as far as the picture asks for them.
    std::size_t firstSignificant = integer.find_first_not_of('0');
    integer = firstSignificant == std::string::npos ? std::string() : integer.substr(firstSignificant);
    if (static_cast<int>(integer.size()) < p.minInteger)
        integer.insert(0, static_cast<std::size_t>(p.minInteger) - integer.size(), '0');
    if (p.grouping && integer.size() > 3) {
        std::string grouped;
        for (std::size_t i = 0; i < integer.size(); ++i) {
            if (i > 0 && (integer.size() - i) % 3 == 0) grouped.push_back(sep.thousands);
            grouped.push_back(integer[i]);
        }
        integer = grouped;
    }
    std::string out = p.prefix + integer;
    if (!fraction.empty()) {
        out.push_back(sep.decimal);
        out += fraction;
    }
    return out + p.suffix;
}

bool RoundsToZero(const Picture& p, double magnitude) {
    return RoundedDigits(magnitude, p.maxDecimals).find_first_not_of('0') == std::string::npos;
}

} // namespace

std::string FormatWithMask(std::string_view mask, double value, const NumberSeparators& separators) {
    const auto sections = Sections(mask);
    const Picture positive = Read(sections[0]);
    const double magnitude = std::fabs(value);
    if (sections.size() > 2 && !sections[2].empty() && RoundsToZero(positive, magnitude))
        return Render(Read(sections[2]), 0, separators);
    if (value < 0) {
        if (sections.size() > 1 && !sections[1].empty()) return Render(Read(sections[1]), magnitude, separators);
        if (RoundsToZero(positive, magnitude)) return Render(positive, 0, separators);
        return "-" + Render(positive, magnitude, separators);
    }
    return Render(positive, magnitude, separators);
}

std::size_t MaskWidth(std::string_view mask) {
    const std::size_t semicolon = mask.find(';');
    if (semicolon == std::string_view::npos || semicolon == 0) return mask.size();
    return semicolon;
}

} // namespace nfp
