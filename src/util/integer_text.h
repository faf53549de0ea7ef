#pragma once
// Whole numbers read from text the way the platform's integer conversion
// does, with its message when the text is no number.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace nfp {

// "'<text>' is not a valid integer value".
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Optional leading blanks, an optional sign and decimal digits, nothing
// after them, within 32 bits; otherwise ConversionError.
std::int32_t ParseInt32(std::string_view text);

} // namespace nfp
