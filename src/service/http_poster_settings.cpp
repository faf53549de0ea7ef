#include "service/http_poster_settings.h"

#include <cstdlib>

namespace nfp {

HttpPosterSettings ServiceSettingsFromEnvironment() {
    HttpPosterSettings settings;
    if (const char* endpoint = std::getenv("NFP_ENDPOINT"); endpoint && *endpoint) settings.endpoint = endpoint;
    if (const char* bundle = std::getenv("NFP_CA_BUNDLE"); bundle && *bundle) settings.caBundle = bundle;
    return settings;
}

} // namespace nfp
