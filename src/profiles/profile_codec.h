#pragma once
// The length-preserving character-shift codec that keeps stored user names,
// passwords and folders from being plain text.
#include <cstdint>
#include <string>
#include <string_view>

namespace nfp {

// `count` blanks.
std::string SpaceString(std::uint16_t count);

// The codec on single-byte text: the significant length L is the length
// trimmed at both ends of codes 32 and below; the character at position i
// (1..L) moves by 99 + (i mod 11), up when encoding, down when decoding,
// modulo 256; the rest becomes blanks, so the length never changes.
std::string ScrambleBytes(std::string_view bytes, bool encode);

// The same on UTF-8 text through its Windows-1252 form. Throws
// TextConversionError for a character Windows-1252 cannot hold.
std::string ScrambleText(std::string_view utf8, bool encode);

} // namespace nfp
