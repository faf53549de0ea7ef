#include "profiles/cnpj_check.h"

#include <array>

namespace nfp {
namespace {

int CheckDigit(std::string_view digits, const int* weights, std::size_t count) {
  int sum = 0;
  for (std::size_t i = 0; i < count; ++i) sum += (digits[i] - '0') * weights[i];
  const int rest = sum % 11;
  return rest < 2 ? 0 : 11 - rest;
}

}  // namespace

bool HasValidCnpjCheckDigits(std::string_view digits) {
  if (digits.size() != 14) return false;
  for (const char c : digits)
    if (c < '0' || c > '9') return false;
  static constexpr std::array<int, 13> kWeights{6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  const int first = CheckDigit(digits, kWeights.data() + 1, 12);
  const int second = CheckDigit(digits, kWeights.data(), 13);
  return digits[12] - '0' == first && digits[13] - '0' == second;
}

std::optional<std::string> ReadCnpj(std::string_view typed) {
  std::string digits;
  for (const char c : typed) {
    if (c >= '0' && c <= '9')
      digits += c;
    else if (c != '.' && c != '/' && c != '-' && c != ' ')
      return std::nullopt;
  }
  if (!HasValidCnpjCheckDigits(digits)) return std::nullopt;
  return digits;
}

}  // namespace nfp
