#pragma once
// Which journal rows the history window lists.
#include <optional>
#include <string>

namespace nfp {

struct JournalFilter {
    std::optional<std::string> cnpj{};
    std::optional<int> year{}; // of quando
    std::optional<int> month{}; // 1 to 12, of quando, in the given year or in any
    std::optional<std::string> situacao{};
};

} // namespace nfp
