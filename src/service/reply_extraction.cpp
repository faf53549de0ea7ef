#include "service/reply_extraction.h"

#include <algorithm>
#include <cstddef>
#include <ctime>

#include "util/text_codec.h"

namespace nfp {
namespace {

// Byte offset of character `index` (0-based) of UTF-8 text, or the text's
// size when it has fewer characters. Text that is not UTF-8 counts bytes.
std::size_t CharacterOffset(std::string_view text, std::size_t index) {
    if (!IsValidUtf8(text)) return std::min(index, text.size());
    std::size_t pos = 0;
    for (std::size_t k = 0; k < index && pos < text.size(); ++k) {
        if (!DecodeUtf8At(text, pos)) return text.size();
    }
    return pos;
}

std::string_view Characters(std::string_view text, std::size_t first, std::size_t count) {
    const std::size_t from = CharacterOffset(text, first);
    const std::string_view rest = text.substr(from);
    return rest.substr(0, CharacterOffset(rest, count));
}

} // namespace

std::string ExtractResultText(std::string_view reply, std::string_view opening, std::string_view closing) {
    // 1-based positions, 0 when a tag is missing.
    const auto position = [&](std::string_view tag) -> long long {
        const std::size_t at = reply.find(tag);
        return at == std::string_view::npos ? 0 : static_cast<long long>(at) + 1;
    };
    const long long a = position(opening);
    const long long b = position(closing);
    const long long s = a + static_cast<long long>(opening.size());
    const long long n = b - s;
    if (n < 0 || s > static_cast<long long>(reply.size())) return {};
    return std::string(reply.substr(static_cast<std::size_t>(s - 1), static_cast<std::size_t>(n)));
}

std::string ExtractOperationResult(std::string_view reply, ServiceOperation operation) {
    ResultTags tags = ResultTagsFor(operation);
    if (operation == ServiceOperation::Retificar && reply.find(tags.opening) == std::string_view::npos &&
        reply.find(tags.closing) == std::string_view::npos) {
        tags = ResultTagsFor(ServiceOperation::Enviar);
    }
    return ExtractResultText(reply, tags.opening, tags.closing);
}

bool IsAcceptedResult(std::string_view result, const RegionalSettings& settings, int currentYear) {
    return ParseShortDate(Characters(result, 0, 10), settings, currentYear).has_value();
}

bool IsAcceptedResult(std::string_view result, const RegionalSettings& settings) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return IsAcceptedResult(result, settings, local.tm_year + 1900);
}

std::string ProtocolNumber(std::string_view result) {
    return std::string(Characters(result, 30, 9));
}

} // namespace nfp
