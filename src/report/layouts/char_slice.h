#pragma once
// Cutting reply texts into the slices a listing prints, by characters of
// UTF-8 text (a byte that is not UTF-8 counts as one character).
#include <cstddef>
#include <string>
#include <vector>

namespace nfp {

// `count` characters from character `start` (0-based).
std::string CharSlice(const std::string& s, std::size_t start, std::size_t count);
// The text in lines of at most `width` characters, each broken after the
// last blank that fits (the blank itself dropped), or cut at the width when
// a word is longer than a line.
std::vector<std::string> WrappedLines(const std::string& s, std::size_t width);
// True when the text holds nothing but blanks and control characters.
bool IsBlankText(const std::string& s);

} // namespace nfp
