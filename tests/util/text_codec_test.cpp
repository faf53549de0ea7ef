#include "util/text_codec.h"

#include <gtest/gtest.h>

using namespace nfp;

TEST(TextCodec, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = Windows1252ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(Utf8ToWindows1252(utf8), all);
}

TEST(TextCodec, HighTable) {
    struct Case { unsigned char byte; const char* utf8; };
    const Case cases[] = {
        {0x80, "\u20AC"}, {0x81, "\u0081"}, {0x8A, "\u0160"}, {0x8D, "\u008D"},
        {0x93, "\u201C"}, {0x96, "\u2013"}, {0x9F, "\u0178"}, {0xA0, "\u00A0"},
        {0xE7, "ç"}, {0xE3, "ã"}, {0xC9, "É"}, {0xFF, "ÿ"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Windows1252ToUtf8(std::string(1, static_cast<char>(c.byte))), c.utf8) << int(c.byte);
        EXPECT_EQ(Utf8ToWindows1252(c.utf8), std::string(1, static_cast<char>(c.byte))) << int(c.byte);
    }
}

TEST(TextCodec, CharacterWithoutByteIsReported) {
    try {
        Utf8ToWindows1252("ab\u4E2Dc");
        FAIL() << "no error";
    } catch (const TextConversionError& e) {
        EXPECT_EQ(e.offset(), 2u);
        EXPECT_EQ(e.codePoint(), U'\u4E2D');
    }
    EXPECT_FALSE(TryUtf8ToWindows1252("\xE2\x82").has_value()); // cut sequence
    EXPECT_FALSE(TryUtf8ToWindows1252("\xC0\x80").has_value()); // overlong
}

TEST(TextCodec, Utf8Validity) {
    EXPECT_TRUE(IsValidUtf8("plain ascii"));
    EXPECT_TRUE(IsValidUtf8("ação 😀"));
    EXPECT_FALSE(IsValidUtf8("a\xE7\xE3o"));       // Windows-1252 bytes
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_EQ(Utf8OrWindows1252ToUtf8("a\xE7\xE3o"), "ação");
    EXPECT_EQ(Utf8OrWindows1252ToUtf8("ação"), "ação");
}

TEST(TextCodec, CutToWidthCountsCharacters) {
    struct Case { const char* in; std::size_t width; const char* out; };
    const Case cases[] = {
        {"abcdef", 3, "abc"}, {"abc", 5, "abc"}, {"ação", 2, "aç"},
        {"ção", 1, "ç"}, {"€€€", 2, "€€"}, {"", 4, ""}, {"abc", 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutToWidth(c.in, c.width), c.out) << c.in << " " << c.width;
    }
    EXPECT_EQ(Utf8Length("ação€"), 5u);
}
