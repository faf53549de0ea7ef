#include "report/engine/page_selection.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace nfp {

namespace {

constexpr int kLastPossiblePage = 9999;

void ReplaceAll(std::string& s, const std::string& from, const std::string& to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from))
        s.replace(at, from.size(), to);
}

// A whole number, or 0 when the text is none.
int NumberOr0(std::string_view s) {
    int value = 0;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (first != last && *first == '+') ++first;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (s.empty() || ec != std::errc() || ptr != last) return 0;
    return value;
}

} // namespace

std::vector<int> ParsePageSelection(std::string_view text) {
    std::string s(text);
    std::erase(s, ' ');
    // Repeated until neither is left, as "---" or ",,," may be typed.
    while (s.find("--") != std::string::npos || s.find(",,") != std::string::npos) {
        ReplaceAll(s, "--", "-");
        ReplaceAll(s, ",,", ",");
    }
    std::vector<int> pages;
    if (s.empty()) return pages;
    s.push_back(',');
    std::string token;
    bool inRange = false;
    int rangeStart = 0;
    for (char c : s) {
        if (c == '-') {
            rangeStart = NumberOr0(token);
            inRange = true;
            token.clear();
        } else if (c == ',') {
            const int n = NumberOr0(token);
            token.clear();
            if (inRange) {
                const int last = std::min(n, kLastPossiblePage);
                for (int p = std::max(rangeStart, 1); p <= last; ++p) pages.push_back(p);
                inRange = false;
            } else if (n > 0) {
                pages.push_back(n);
            }
        } else {
            token.push_back(c);
        }
    }
    return pages;
}

} // namespace nfp
