#include "profiles/profile_codec.h"
#include "util/text_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace nfp {
namespace {

std::string Bytes(std::initializer_list<unsigned> codes) {
    std::string s;
    for (unsigned c : codes) s += static_cast<char>(c);
    return s;
}

TEST(ProfileCodec, SpaceString) {
    EXPECT_EQ(SpaceString(0), "");
    EXPECT_EQ(SpaceString(3), "   ");
    EXPECT_EQ(SpaceString(65535).size(), 65535u);
}

TEST(ProfileCodec, WorkedExampleAndEdges) {
    struct Case { std::string plain, scrambled; } cases[] = {
        {"abc", Bytes({0xC5, 0xC7, 0xC9})},
        {"abc  ", Bytes({0xC5, 0xC7, 0xC9, 0x20, 0x20})},
        {"", ""},
        {"   ", "   "},
        {Bytes({0xFF}), "c"},                 // wraps up past 255
        {Bytes({0x9C, 0x21}), Bytes({0x00, 0x86})}, // 156 + 100 wraps to 0
        {"a\t\x01", Bytes({0xC5, 0x20, 0x20})},     // trailing controls become blanks
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScrambleBytes(c.plain, true), c.scrambled) << c.plain;
        const std::string back = ScrambleBytes(c.scrambled, false);
        EXPECT_EQ(back.size(), c.plain.size());
    }
    EXPECT_EQ(ScrambleBytes(Bytes({0xC5, 0xC7, 0xC9, 0x20, 0x20}), false), "abc  ");
    EXPECT_EQ(ScrambleBytes(Bytes({0xC5, 0x20, 0x20}), false), "a  ");
    EXPECT_EQ(ScrambleBytes("c", false), Bytes({0xFF}));
    EXPECT_EQ(ScrambleBytes("!", false), Bytes({189})); // wraps down below 0
}

TEST(ProfileCodec, ShiftRepeatsEveryElevenPositions) {
    const std::string plain(34, 'A');
    const std::string scrambled = ScrambleBytes(plain, true);
    ASSERT_EQ(scrambled.size(), plain.size());
    for (std::size_t i = 1; i <= plain.size(); ++i) {
        const unsigned shift = static_cast<unsigned char>(scrambled[i - 1]) - 'A';
        EXPECT_EQ(shift, 99 + i % 11) << i;
    }
    EXPECT_EQ(ScrambleBytes(scrambled, false), plain);
}

TEST(ProfileCodec, EveryByteComesBackAtEveryPositionOfACycle) {
    for (unsigned c = 33; c <= 255; ++c)
        for (std::size_t pos = 1; pos <= 11; ++pos) {
            // Significant neighbours on both sides, so nothing is trimmed
            // unless the byte itself lands on a blank or control code.
            const std::string plain = std::string(pos - 1, 'x') + static_cast<char>(c) + "x";
            const std::string scrambled = ScrambleBytes(plain, true);
            if (pos == 1 && static_cast<unsigned char>(scrambled[0]) <= 32) continue;
            EXPECT_EQ(ScrambleBytes(scrambled, false), plain) << c << " at " << pos;
        }
}

TEST(ProfileCodec, TextWorksOnTheWindows1252Form) {
    EXPECT_EQ(ScrambleText("abc", true), "\xC3\x85\xC3\x87\xC3\x89"); // Å Ç É
    EXPECT_EQ(ScrambleText("\xC3\x85\xC3\x87\xC3\x89", false), "abc");
    for (const std::string plain : {"Usuário Ção", "C:\\NFP\\", "senha€123", "€"})
        EXPECT_EQ(ScrambleText(ScrambleText(plain, true), false), plain) << plain;
    EXPECT_THROW((void)ScrambleText("\xCE\xA9", true), TextConversionError); // Ω
}

TEST(ProfileCodec, LeadingBlankTextKeepsItsLength) {
    // The trimmed length counts, the positions are those of the text as given.
    EXPECT_EQ(ScrambleBytes(" ab", true), Bytes({32 + 100, 'a' + 101, ' '}));
}

} // namespace
} // namespace nfp
