#pragma once
// SHA-256 of a file's bytes as read, in lower-case hex, so the journal names
// exactly which contents went out.
#include <string>
#include <string_view>

namespace nfp {

std::string Sha256Hex(std::string_view bytes);

} // namespace nfp
