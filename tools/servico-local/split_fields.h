#pragma once
// The fields of one line of the service's data files.
#include <string_view>
#include <vector>

namespace nfp::servico {

// Every field between separators, empty ones too: "a||b" has three.
inline std::vector<std::string_view> SplitFields(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
        const auto at = line.find(separator, from);
        fields.push_back(line.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) break;
        from = at + 1;
    }
    return fields;
}

} // namespace nfp::servico
