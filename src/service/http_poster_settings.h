#pragma once
// Where requests go and whom to trust. The program takes these from the
// environment once (ServiceSettingsFromEnvironment); tests pass their own.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace nfp {

inline constexpr std::string_view kDefaultServiceEndpoint = "https://www.nfp.fazenda.sp.gov.br/ws/arquivocf.asmx";

struct HttpPosterSettings {
    std::string endpoint{kDefaultServiceEndpoint};
    // PEM file of CA certificates trusted instead of the system's.
    std::optional<std::string> caBundle;
    std::chrono::seconds connectTimeout{60};
    // A request fails when no byte moves in either direction for this long.
    std::chrono::seconds stallTimeout{60};
};

// NFP_ENDPOINT replaces the endpoint and NFP_CA_BUNDLE names the CA file;
// unset or empty variables keep the defaults.
HttpPosterSettings ServiceSettingsFromEnvironment();

} // namespace nfp
