#pragma once
// Text at the program's boundaries. Inside, text is UTF-8; stored profile
// strings, saved reports and printer bytes are Windows-1252.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace nfp {

// A character that Windows-1252 cannot hold, or UTF-8 that is malformed.
class TextConversionError : public std::runtime_error {
public:
    TextConversionError(const std::string& message, std::size_t offset, char32_t codePoint)
        : std::runtime_error(message), offset_(offset), codePoint_(codePoint) {}
    std::size_t offset() const noexcept { return offset_; }   // byte offset in the input
    char32_t codePoint() const noexcept { return codePoint_; } // 0 for malformed UTF-8
private:
    std::size_t offset_;
    char32_t codePoint_;
};

// Every byte has a character: the five bytes Windows leaves undefined
// (81, 8D, 8F, 90, 9D) stand for the C1 controls of the same number, so the
// round trip through UTF-8 keeps every byte.
std::string Windows1252ToUtf8(std::string_view bytes);

// Throws TextConversionError naming the first character with no byte.
std::string Utf8ToWindows1252(std::string_view utf8);
std::optional<std::string> TryUtf8ToWindows1252(std::string_view utf8);

// The Windows-1252 byte of one code point, if it has one.
std::optional<unsigned char> Windows1252Byte(char32_t codePoint);
char32_t Windows1252CodePoint(unsigned char byte);

bool IsValidUtf8(std::string_view bytes);

// Text that arrives in an unknown single-byte or UTF-8 form: valid UTF-8 is
// kept, anything else is read as Windows-1252.
std::string Utf8OrWindows1252ToUtf8(std::string_view bytes);

// Number of characters (code points) of valid UTF-8.
std::size_t Utf8Length(std::string_view utf8);

// The first `width` characters, never splitting a multi-byte character.
std::string CutToWidth(std::string_view utf8, std::size_t width);

// Decodes the code point at `pos` and advances `pos`; nullopt (pos unchanged)
// on malformed input.
std::optional<char32_t> DecodeUtf8At(std::string_view utf8, std::size_t& pos);
void AppendUtf8(std::string& out, char32_t codePoint);

} // namespace nfp
