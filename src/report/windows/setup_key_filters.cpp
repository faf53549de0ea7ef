#include "report/windows/setup_key_filters.h"

namespace nfp {
namespace {

bool Passes(char c) { return c == kKeyBackspace || c == kKeyCtrlV || (c >= '0' && c <= '9'); }

}  // namespace

std::optional<char> FilterPagesKey(char typed) {
  if (Passes(typed) || typed == ',' || typed == '-') return typed;
  if (typed == '.' || typed == ';') return ',';
  return std::nullopt;
}

std::optional<char> FilterCopiesKey(char typed) {
  if (Passes(typed)) return typed;
  return std::nullopt;
}

}  // namespace nfp
