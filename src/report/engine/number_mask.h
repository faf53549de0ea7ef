#pragma once
// Numbers written through a picture mask: "0" a digit always shown, "#" a
// digit shown when significant, "." the decimal point, "," thousands
// grouping, ";" between the pictures for positive, negative and zero
// values; text in quotes and other signs before or after the digits are
// copied.
#include <string>
#include <string_view>

namespace nfp {

struct NumberSeparators {
    char decimal = ',';
    char thousands = '.';
};

std::string FormatWithMask(std::string_view mask, double value, const NumberSeparators& separators);

// The width ImpNum pads a number to: what stands before the first ";", or
// the whole mask when that is empty.
std::size_t MaskWidth(std::string_view mask);

} // namespace nfp
