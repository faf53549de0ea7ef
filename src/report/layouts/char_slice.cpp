#include "report/layouts/char_slice.h"

#include "util/text_codec.h"

namespace nfp {

namespace {

void SkipCharacter(const std::string& s, std::size_t& pos)
{
    if (!DecodeUtf8At(s, pos))
        ++pos;
}

} // namespace

std::string CharSlice(const std::string& s, std::size_t start, std::size_t count)
{
    std::size_t pos = 0;
    for (std::size_t index = 0; pos < s.size() && index < start; ++index)
        SkipCharacter(s, pos);
    const std::size_t from = pos;
    for (std::size_t taken = 0; pos < s.size() && taken < count; ++taken)
        SkipCharacter(s, pos);
    return s.substr(from, pos - from);
}

std::vector<std::string> WrappedLines(const std::string& s, std::size_t width)
{
    // Where each character starts, and the end.
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < s.size();) {
        starts.push_back(pos);
        SkipCharacter(s, pos);
    }
    starts.push_back(s.size());
    const std::size_t count = starts.size() - 1;
    std::vector<std::string> lines;
    std::size_t first = 0;
    while (first < count && width > 0) {
        std::size_t end = first + width;
        std::size_t next = end;
        if (end >= count) {
            end = next = count;
        } else {
            for (std::size_t blank = end; blank > first; --blank) {
                if (s[starts[blank]] == ' ') {
                    end = blank;
                    next = blank + 1;
                    break;
                }
            }
        }
        lines.push_back(s.substr(starts[first], starts[end] - starts[first]));
        first = next;
    }
    return lines;
}

bool IsBlankText(const std::string& s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    return true;
}

} // namespace nfp
