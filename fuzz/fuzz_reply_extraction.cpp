// Reply extraction: the cut between the result tags, the acceptance test and
// the protocol number, on any reply and under several regional settings.
//
// Input: a settings byte, a year byte (1950 + n), then the reply.
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "fuzz_regional.h"
#include "service/reply_extraction.h"
#include "util/text_codec.h"

namespace {

using namespace nfp;

// The text's characters as the program counts them: code points of valid
// UTF-8, otherwise one byte each.
std::vector<std::string_view> Characters(std::string_view text) {
    std::vector<std::string_view> out;
    const bool utf8 = IsValidUtf8(text);
    std::size_t p = 0;
    while (p < text.size()) {
        const std::size_t start = p;
        if (!utf8 || !DecodeUtf8At(text, p)) p = start + 1;
        out.push_back(text.substr(start, p - start));
    }
    return out;
}

std::string Slice(const std::vector<std::string_view>& chars, std::size_t from, std::size_t count) {
    std::string out;
    for (std::size_t i = from; i < chars.size() && i < from + count; ++i) out += chars[i];
    return out;
}

void CheckResult(std::string_view result, const RegionalSettings& rs, int year) {
    const auto chars = Characters(result);
    // Characters 31 to 39, counted alike before and within them.
    const std::string protocolo = ProtocolNumber(result);
    FUZZ_CHECK(protocolo == Slice(chars, 30, 9));
    FUZZ_CHECK(Characters(protocolo).size() <= 9);
    if (IsValidUtf8(result)) FUZZ_CHECK(IsValidUtf8(protocolo));

    // Only the first ten characters decide.
    const std::string head = Slice(chars, 0, 10);
    const bool accepted = IsAcceptedResult(result, rs, year);
    FUZZ_CHECK(accepted == IsAcceptedResult(head, rs, year));
    const auto date = ParseShortDate(head, rs, year);
    FUZZ_CHECK(accepted == date.has_value());
    if (date) {
        FUZZ_CHECK(date->ok());
        FUZZ_CHECK(static_cast<int>(date->year()) >= 1 && static_cast<int>(date->year()) <= 9999);
        // The date as the settings write it is accepted too, with the same
        // protocol after it.
        const std::string written = FormatShortDate(*date, rs) + Slice(chars, 10, chars.size());
        FUZZ_CHECK(IsAcceptedResult(written, rs, year));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const RegionalSettings rs = fuzz::RegionalChoice(input.Byte());
    const int year = 1950 + input.Byte();
    const std::string_view reply = input.Rest();

    for (const auto operation : {ServiceOperation::Enviar, ServiceOperation::Retificar, ServiceOperation::Consultar}) {
        const std::string result = ExtractOperationResult(reply, operation);
        FUZZ_CHECK(result.empty() || reply.find(result) != std::string_view::npos);
        const ResultTags tags = ResultTagsFor(operation);
        const auto a = reply.find(tags.opening);
        const auto b = reply.find(tags.closing);
        if (a != std::string_view::npos && b != std::string_view::npos && a + tags.opening.size() <= b)
            FUZZ_CHECK(ExtractResultText(reply, tags.opening, tags.closing) ==
                       reply.substr(a + tags.opening.size(), b - a - tags.opening.size()));
        if (b == std::string_view::npos) FUZZ_CHECK(ExtractResultText(reply, tags.opening, tags.closing).empty());
        CheckResult(result, rs, year);
    }
    CheckResult(reply, rs, year);
    return 0;
}
