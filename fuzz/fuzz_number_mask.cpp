// Numbers written through a picture mask: any mask and any value give a
// text without failing, and a plain picture writes the value's digits.
//
// Input: eight bytes of a double, then the mask.
#include <cmath>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "report/engine/number_mask.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nfp;
    fuzz::FuzzInput input(data, size);
    unsigned char bytes[8];
    for (unsigned char& b : bytes) b = input.Byte();
    double value = 0;
    std::memcpy(&value, bytes, sizeof value);
    const std::string_view mask = input.Rest();

    const NumberSeparators separators;
    const std::string text = FormatWithMask(mask, value, separators);
    FUZZ_CHECK(MaskWidth(mask) <= mask.size());
    if (std::isfinite(value) && std::fabs(value) < 1e15) {
        // Finite values are written with digits, never as "inf" or "nan"
        // (letters the mask itself does not hold).
        if (mask.find_first_of("afin") == std::string_view::npos) {
            FUZZ_CHECK(text.find("inf") == std::string::npos);
            FUZZ_CHECK(text.find("nan") == std::string::npos);
        }
        // The integer picture "0" writes the rounded value.
        if (value >= 0) {
            const double rounded = std::floor(value + 0.5);
            char expected[64];
            std::snprintf(expected, sizeof expected, "%.0f", rounded);
            FUZZ_CHECK(FormatWithMask("0", value, separators) == expected);
        }
    }
    return 0;
}
