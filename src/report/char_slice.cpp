#include "report/char_slice.h"

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

std::size_t CharCount(const std::string& s)
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < s.size(); ++count)
        SkipCharacter(s, pos);
    return count;
}

bool IsBlankText(const std::string& s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    return true;
}

} // namespace nfp
