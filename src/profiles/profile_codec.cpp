#include "profiles/profile_codec.h"

#include "util/text_codec.h"

namespace nfp {

std::string SpaceString(std::uint16_t count) { return std::string(count, ' '); }

std::string ScrambleBytes(std::string_view bytes, bool encode) {
    const auto significant = [](char c) { return static_cast<unsigned char>(c) > 32; };
    std::size_t first = 0;
    while (first < bytes.size() && !significant(bytes[first])) ++first;
    std::size_t last = bytes.size();
    while (last > first && !significant(bytes[last - 1])) --last;
    const std::size_t length = last - first;

    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 1; i <= length; ++i) {
        const unsigned shift = 99 + static_cast<unsigned>(i % 11);
        const unsigned c = static_cast<unsigned char>(bytes[i - 1]);
        out += static_cast<char>((encode ? c + shift : c + 256 - shift) % 256);
    }
    // Not SpaceString: its 16-bit count would shorten a very long text.
    out.append(bytes.size() - length, ' ');
    return out;
}

std::string ScrambleText(std::string_view utf8, bool encode) {
    return Windows1252ToUtf8(ScrambleBytes(Utf8ToWindows1252(utf8), encode));
}

} // namespace nfp
