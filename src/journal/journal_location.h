#pragma once
// Where the send journal lives: $NFP_JOURNAL when set, otherwise
// $XDG_DATA_HOME/nfp-envio/envios.sqlite, by default under
// ~/.local/share.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace nfp {

using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The process environment.
std::optional<std::string> ProcessEnvironment(const char* name);

std::filesystem::path DefaultJournalFile(const EnvironmentLookup& environment = ProcessEnvironment);

} // namespace nfp
