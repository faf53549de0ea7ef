// The text codec: Windows-1252 and UTF-8 both ways, UTF-8 validation and
// decoding, and cutting UTF-8 to a width.
//
// Input: a width byte, then the text.
#include <algorithm>
#include <string>

#include "fuzz_input.h"
#include "util/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nfp;
    fuzz::FuzzInput input(data, size);
    const std::size_t width = input.Byte();
    const std::string_view bytes = input.Rest();

    // Every byte is a Windows-1252 character and comes back.
    const std::string utf8 = Windows1252ToUtf8(bytes);
    FUZZ_CHECK(IsValidUtf8(utf8));
    FUZZ_CHECK(Utf8Length(utf8) == bytes.size());
    FUZZ_CHECK(Utf8ToWindows1252(utf8) == bytes);
    FUZZ_CHECK(TryUtf8ToWindows1252(utf8) == std::string(bytes));

    // Validation agrees with decoding, and decoding with encoding.
    bool decodes = true;
    std::string again;
    std::size_t characters = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t at = pos;
        const auto cp = DecodeUtf8At(bytes, pos);
        if (!cp) {
            FUZZ_CHECK(pos == at);
            decodes = false;
            break;
        }
        FUZZ_CHECK(pos > at && pos - at <= 4);
        AppendUtf8(again, *cp);
        FUZZ_CHECK(again.size() == pos);
        ++characters;
    }
    const bool valid = IsValidUtf8(bytes);
    FUZZ_CHECK(valid == decodes);

    const std::string either = Utf8OrWindows1252ToUtf8(bytes);
    FUZZ_CHECK(IsValidUtf8(either));
    FUZZ_CHECK(either == (valid ? std::string(bytes) : utf8));

    try {
        const std::string single = Utf8ToWindows1252(bytes);
        FUZZ_CHECK(valid);
        FUZZ_CHECK(Windows1252ToUtf8(single) == bytes);
    } catch (const TextConversionError& e) {
        FUZZ_CHECK(e.offset() < bytes.size());
        // Malformed UTF-8, or a character Windows-1252 lacks.
        if (e.codePoint() == 0) FUZZ_CHECK(!valid);
        else FUZZ_CHECK(!Windows1252Byte(e.codePoint()));
        FUZZ_CHECK(!TryUtf8ToWindows1252(bytes));
    }

    if (valid) {
        FUZZ_CHECK(Utf8Length(bytes) == characters);
        const std::string cut = CutToWidth(bytes, width);
        FUZZ_CHECK(IsValidUtf8(cut));
        FUZZ_CHECK(bytes.substr(0, cut.size()) == cut);
        FUZZ_CHECK(Utf8Length(cut) == std::min(width, characters));
    } else {
        const std::string cut = CutToWidth(bytes, width);
        FUZZ_CHECK(bytes.substr(0, cut.size()) == cut);
    }
    return 0;
}
