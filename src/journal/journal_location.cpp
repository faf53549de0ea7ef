#include "journal/journal_location.h"

#include <cstdlib>

namespace nfp {

std::optional<std::string> ProcessEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

std::filesystem::path DefaultJournalFile(const EnvironmentLookup& environment)
{
    if (auto named = environment("NFP_JOURNAL"))
        return *named;
    std::filesystem::path data;
    // Relative values are to be ignored, as for every XDG variable.
    if (auto xdg = environment("XDG_DATA_HOME"); xdg && std::filesystem::path(*xdg).is_absolute())
        data = *xdg;
    else
        data = std::filesystem::path(environment("HOME").value_or(".")) / ".local" / "share";
    return data / "nfp-envio" / "envios.sqlite";
}

} // namespace nfp
