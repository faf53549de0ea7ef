// The profile codec: encoding keeps the length, and decoding gives the text
// back (its trailing blanks and control characters as blanks) whenever the
// encoded form neither begins nor ends with a blank or control character,
// which is what the profile store accepts.
//
// Input: the text's bytes.
#include <string>

#include "fuzz_input.h"
#include "profiles/profile_codec.h"
#include "util/text_codec.h"

namespace {

bool BlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

// What a text comes back as: trailing blanks and controls become blanks.
std::string AsStored(std::string_view bytes) {
    std::size_t end = bytes.size();
    while (end > 0 && BlankOrControl(bytes[end - 1])) --end;
    return std::string(bytes.substr(0, end)) + std::string(bytes.size() - end, ' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nfp;
    fuzz::FuzzInput input(data, size);
    const std::string_view bytes = input.Rest();

    const std::string encoded = ScrambleBytes(bytes, true);
    const std::string decoded = ScrambleBytes(bytes, false);
    FUZZ_CHECK(encoded.size() == bytes.size() && decoded.size() == bytes.size());

    const std::string_view significant = [&] {
        std::size_t end = encoded.size();
        while (end > 0 && BlankOrControl(encoded[end - 1])) --end;
        return std::string_view(encoded).substr(0, end);
    }();
    const bool survives = (bytes.empty() || !BlankOrControl(bytes.front())) &&
                          (significant.empty() || !BlankOrControl(significant.front())) &&
                          // The trailing part of the encoded form is exactly the blanks written.
                          significant.size() == AsStored(bytes).find_last_not_of(' ') + 1;
    if (survives) FUZZ_CHECK(ScrambleBytes(encoded, false) == AsStored(bytes));

    // The same through the Windows-1252 form of UTF-8 text.
    const std::string utf8 = Windows1252ToUtf8(bytes);
    const std::string encodedText = ScrambleText(utf8, true);
    FUZZ_CHECK(Utf8ToWindows1252(encodedText) == encoded);
    if (survives) FUZZ_CHECK(ScrambleText(encodedText, false) == Windows1252ToUtf8(AsStored(bytes)));
    return 0;
}
