#pragma once
// Reading a CNPJ typed by the user: the punctuation people type is dropped,
// what remains must be the 14 digits with their two check digits.
#include <optional>
#include <string>
#include <string_view>

namespace nfp {

// The 14 digits, or nothing when the text is not a valid CNPJ. Dots,
// slashes, hyphens and blanks are dropped; any other non-digit refuses.
std::optional<std::string> ReadCnpj(std::string_view typed);

// True when the 14 digits carry the right check digits.
bool HasValidCnpjCheckDigits(std::string_view digits);

}  // namespace nfp
