#include "report/windows/setup_key_filters.h"

#include <gtest/gtest.h>

namespace nfp {
namespace {

TEST(SetupKeyFilters, PagesField) {
  struct Case {
    char typed;
    std::optional<char> kept;
  };
  for (const Case& c : {Case{'0', '0'}, Case{'9', '9'}, Case{',', ','}, Case{'-', '-'},
                        Case{'.', ','}, Case{';', ','}, Case{kKeyBackspace, kKeyBackspace},
                        Case{kKeyCtrlV, kKeyCtrlV}, Case{'a', std::nullopt},
                        Case{' ', std::nullopt}, Case{'/', std::nullopt},
                        Case{'\x03', std::nullopt}}) {
    EXPECT_EQ(FilterPagesKey(c.typed), c.kept) << static_cast<int>(c.typed);
  }
}

TEST(SetupKeyFilters, CopiesField) {
  struct Case {
    char typed;
    std::optional<char> kept;
  };
  for (const Case& c : {Case{'0', '0'}, Case{'7', '7'}, Case{kKeyBackspace, kKeyBackspace},
                        Case{kKeyCtrlV, kKeyCtrlV}, Case{',', std::nullopt},
                        Case{'.', std::nullopt}, Case{'-', std::nullopt},
                        Case{'x', std::nullopt}}) {
    EXPECT_EQ(FilterCopiesKey(c.typed), c.kept) << static_cast<int>(c.typed);
  }
}

}  // namespace
}  // namespace nfp
