#pragma once
// Cutting reply texts into the slices a listing prints, by characters of
// UTF-8 text (a byte that is not UTF-8 counts as one character).
#include <cstddef>
#include <string>

namespace nfp {

// `count` characters from character `start` (0-based).
std::string CharSlice(const std::string& s, std::size_t start, std::size_t count);
// Characters in `s`.
std::size_t CharCount(const std::string& s);
// True when the text holds nothing but blanks and control characters.
bool IsBlankText(const std::string& s);

} // namespace nfp
