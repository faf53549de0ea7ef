#pragma once
// What the setup dialog's page and copies fields let through, one typed
// character at a time. Plain C++ so the rules are checked as tables.
#include <optional>

namespace nfp {

inline constexpr char kKeyBackspace = 8;
inline constexpr char kKeyCtrlV = 22;

// Pages field: backspace, Ctrl+V, digits, "," and "-" pass; "." and ";"
// become ","; anything else is dropped (nullopt).
std::optional<char> FilterPagesKey(char typed);

// Copies field: backspace, Ctrl+V and digits only.
std::optional<char> FilterCopiesKey(char typed);

}  // namespace nfp
