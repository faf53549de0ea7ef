#include "util/version_text.h"

#include <gtest/gtest.h>

namespace nfp {
namespace {

TEST(VersionText, FormatsFourNumbersWithoutPadding) {
    struct Case { std::uint16_t a, b, c, d; const char* text; } cases[] = {
        {1, 0, 0, 4, "1.0.0.4"}, {2, 10, 3, 4095, "2.10.3.4095"}, {65535, 0, 65535, 0, "65535.0.65535.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatVersionText(c.a, c.b, c.c, c.d), c.text);
}

TEST(VersionText, IsTheBuildsVersion) { EXPECT_EQ(GetVersionText(), "1.0.0.4"); }

} // namespace
} // namespace nfp
