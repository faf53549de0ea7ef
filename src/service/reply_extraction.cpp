#include "service/reply_extraction.h"

#include <algorithm>
#include <cstddef>
#include <ctime>

#include "util/text_codec.h"

namespace nfp {
namespace {

// Characters `first` to `first + count - 1` (0-based) of the text, as many
// as there are. Valid UTF-8 counts code points; any other text counts one
// character per byte throughout, as it is read as Windows-1252.
std::string_view Characters(std::string_view text, std::size_t first, std::size_t count) {
    if (!IsValidUtf8(text)) return text.substr(std::min(first, text.size())).substr(0, count);
    const auto offset = [](std::string_view utf8, std::size_t index) {
        std::size_t pos = 0;
        for (std::size_t k = 0; k < index && DecodeUtf8At(utf8, pos);) ++k;
        return pos;
    };
    const std::string_view rest = text.substr(offset(text, first));
    return rest.substr(0, offset(rest, count));
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
