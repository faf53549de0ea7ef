#include "util/text_codec.h"

#include <array>
#include <cstdio>

namespace nfp {
namespace {

// 0x80..0x9F of Windows-1252; the rest of the bytes equal their code point.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::string Describe(char32_t cp) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

} // namespace

char32_t Windows1252CodePoint(unsigned char byte) {
    return (byte >= 0x80 && byte <= 0x9F) ? kHigh[byte - 0x80] : char32_t{byte};
}

std::optional<unsigned char> Windows1252Byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::optional<char32_t> DecodeUtf8At(std::string_view s, std::size_t& pos) {
    if (pos >= s.size()) return std::nullopt;
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) { ++pos; return b0; }
    std::size_t len;
    char32_t cp;
    char32_t min;
    if ((b0 & 0xE0) == 0xC0) { len = 2; cp = b0 & 0x1F; min = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { len = 3; cp = b0 & 0x0F; min = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { len = 4; cp = b0 & 0x07; min = 0x10000; }
    else return std::nullopt;
    if (pos + len > s.size()) return std::nullopt;
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    pos += len;
    return cp;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) out += c;
        else AppendUtf8(out, Windows1252CodePoint(b));
    }
    return out;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t at = pos;
        const auto cp = DecodeUtf8At(utf8, pos);
        if (!cp) throw TextConversionError("Invalid UTF-8 text at byte " + std::to_string(at), at, 0);
        const auto b = Windows1252Byte(*cp);
        if (!b) {
            std::string ch;
            AppendUtf8(ch, *cp);
            throw TextConversionError("The character '" + ch + "' (" + Describe(*cp) +
                                          ") cannot be written in Windows-1252",
                                      at, *cp);
        }
        out += static_cast<char>(*b);
    }
    return out;
}

std::optional<std::string> TryUtf8ToWindows1252(std::string_view utf8) {
    try {
        return Utf8ToWindows1252(utf8);
    } catch (const TextConversionError&) {
        return std::nullopt;
    }
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        // Fast path over ASCII runs: receipt files are mostly ASCII.
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) { ++pos; continue; }
        if (!DecodeUtf8At(bytes, pos)) return false;
    }
    return true;
}

std::string Utf8OrWindows1252ToUtf8(std::string_view bytes) {
    return IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

std::size_t Utf8Length(std::string_view utf8) {
    std::size_t n = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::string CutToWidth(std::string_view utf8, std::size_t width) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (chars == width) return std::string(utf8.substr(0, i));
            ++chars;
        }
    }
    return std::string(utf8);
}

} // namespace nfp
