#include "util/version_text.h"

#ifndef NFP_VERSION_MAJOR
#error "the build passes the program's version numbers"
#endif

namespace nfp {

std::string FormatVersionText(std::uint16_t major, std::uint16_t minor, std::uint16_t release, std::uint16_t build) {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(release) + "." +
           std::to_string(build);
}

std::string GetVersionText() {
    return FormatVersionText(NFP_VERSION_MAJOR, NFP_VERSION_MINOR, NFP_VERSION_RELEASE, NFP_VERSION_BUILD);
}

} // namespace nfp
