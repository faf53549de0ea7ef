#include "service/file_content.h"

#include "util/text_codec.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

#include <string>

namespace nfp {
namespace {

using namespace std::string_literals;

struct ContentCase {
    const char* name;
    std::string file;
    std::string expected;
};

const ContentCase kContentCases[] = {
    {"Empty", "", ""},
    {"LfBecomesCrLf", "a\nb\n", "a\r\nb\r\n"},
    {"CrLfStays", "a\r\nb\r\n", "a\r\nb\r\n"},
    {"LoneCrBecomesCrLf", "a\rb", "a\r\nb"},
    {"LfThenCrIsTwoBreaks", "a\n\rb", "a\r\n\r\nb"},
    {"CrCrLfIsTwoBreaks", "a\r\r\nb", "a\r\n\r\nb"},
    {"LastLineWithoutBreak", "x\ny", "x\r\ny"},
    {"MarkupEscaped", "a < b & c > d", "a &lt; b &amp; c &gt; d"},
    {"EntityTextEscapedOnce", "&lt;", "&amp;lt;"},
    {"DoubleQuotesEscaped", "\"x\"", "&quot;x&quot;"},
    {"ApostropheStays", "it's", "it's"},
    {"CutAtFirstZeroByte", "ab\0c<d\0e"s, "ab"},
    {"ZeroByteFirst", "\0abc"s, ""},
    {"Utf8Unchanged", "caf\xC3\xA9 \xE2\x82\xAC", "caf\xC3\xA9 \xE2\x82\xAC"},
    {"Windows1252Converted", "caf\xE9 \x80 \x9C", "caf\xC3\xA9 \xE2\x82\xAC \xC5\x93"},
    {"Utf8ThenInvalidMeansWindows1252", "\xC3\xA9 \xE9", "\xC3\x83\xC2\xA9 \xC3\xA9"},
    {"ValidityJudgedBeforeTheZeroByte", "\xC3\xA9\0\xE9"s, "\xC3\xA9"},
    {"Windows1252WithLineBreaksAndMarkup", "\xE9<\n\xE7&\r", "\xC3\xA9&lt;\r\n\xC3\xA7&amp;\r\n"},
    {"ReceiptLines", "E01|11222333000181|X\nE02|1,00&2\n", "E01|11222333000181|X\r\nE02|1,00&amp;2\r\n"},
    // The DOS end-of-file mark goes; its final line break stays.
    {"EndOfFileMarkAtTheEnd", "a\r\nb\x1A", "a\r\nb"},
    {"EndOfFileMarkBeforeTheFinalCrLf", "a\r\nb\x1A\r\n", "a\r\nb\r\n"},
    {"EndOfFileMarkBeforeTheFinalLf", "a&\nb\x1A\n", "a&amp;\r\nb\r\n"},
    {"EndOfFileMarkAfterTheFinalBreak", "a\r\n\x1A", "a\r\n"},
    {"EndOfFileMarks", "a\x1A\x1A\x1A\r", "a\r\n"},
    {"EndOfFileMarkAlone", "\x1A", ""},
    {"EndOfFileMarkBeforeAZeroByte", "a\x1A\0b"s, "a"},
    {"EndOfFileMarkOfAWindows1252File", "caf\xE9\x1A", "caf\xC3\xA9"},
    {"MarkInsideTheTextStays", "a\x1A" "b\r\n", "a\x1A" "b\r\n"},
};

void PrintTo(const ContentCase& c, std::ostream* os) { *os << c.name; }

class ContentTable : public ::testing::TestWithParam<ContentCase> {};

TEST_P(ContentTable, PreparesAndEscapesInOnePass) {
    EXPECT_EQ(EscapeFileContent(GetParam().file), GetParam().expected);
}

TEST_P(ContentTable, TheTwoHalvesGiveTheSame) {
    EXPECT_EQ(EscapeFileMarkup(PrepareFileText(GetParam().file)), GetParam().expected);
}

TEST_P(ContentTable, AppendsAfterWhatIsThere) {
    std::string out = "head\xC3\xA9";
    AppendEscapedFileContent(out, GetParam().file);
    EXPECT_EQ(out, "head\xC3\xA9" + GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ContentTable, ::testing::ValuesIn(kContentCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PrepareFileText, LeavesMarkupForTheEscapingStep) {
    EXPECT_EQ(PrepareFileText("a<b&\"c\"\n\xE9"), "a<b&\"c\"\r\n\xC3\xA9");
}

TEST(EscapeFileMarkup, LeavesLineBreaksAndBytesAlone) {
    EXPECT_EQ(EscapeFileMarkup("a\nb\r\xE9<"s), "a\nb\r\xE9&lt;");
}

struct ControlCase {
    const char* name;
    std::string file;
    std::optional<ForbiddenControl> found;
};

void PrintTo(const ControlCase& c, std::ostream* os) { *os << c.name; }

const ControlCase kControlCases[] = {
    {"PlainText", "E01|1\r\n\tE02|2\n", std::nullopt},
    {"FormFeedOnLine2", "ok\r\nx\x0Cy", ForbiddenControl{0x0C, 2}},
    {"LinesAsPreparingBreaksThem", "a\r\rb\n\n\rc\x01", ForbiddenControl{0x01, 6}},
    {"TheFirstOneCounts", "\x1B\x02", ForbiddenControl{0x1B, 1}},
    {"EndOfFileMarkIsNone", "a\r\nb\x1A\r\n", std::nullopt},
    {"EndOfFileMarkInsideIsOne", "a\x1A\r\n" "b", ForbiddenControl{0x1A, 1}},
    {"AfterAZeroByteIsNotSent", "a\0\x01"s, std::nullopt},
    {"DeleteIsAllowed", "a\x7F", std::nullopt},
};

class ControlTable : public ::testing::TestWithParam<ControlCase> {};

TEST_P(ControlTable, FindsTheFirstByteTheServiceDoesNotAccept) {
    const auto found = FindForbiddenControl(GetParam().file);
    ASSERT_EQ(found.has_value(), GetParam().found.has_value());
    if (found) {
        EXPECT_EQ(found->byte, GetParam().found->byte);
        EXPECT_EQ(found->line, GetParam().found->line);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ControlTable, ::testing::ValuesIn(kControlCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ForbiddenControlText, NamesTheFileTheByteAndTheLine) {
    EXPECT_EQ(ForbiddenControlText("A0001.C39", {0x0C, 12}),
              "O arquivo A0001.C39 contém o caractere de controle 0x0C na linha 12, que o serviço não aceita.");
    EXPECT_EQ(ForbiddenControlText("b.c39", {0x1B, 1}),
              "O arquivo b.c39 contém o caractere de controle 0x1B na linha 1, que o serviço não aceita.");
}

} // namespace
} // namespace nfp

namespace nfp {
namespace {

// The rules written the plain way, one character at a time, as an oracle
// for the word-at-a-time scanning.
std::string Reference(std::string_view file) {
    file = file.substr(0, file.find('\0'));
    std::string lines;
    for (std::size_t i = 0; i < file.size(); ++i) {
        if (file[i] == '\r') {
            lines += "\r\n";
            if (i + 1 < file.size() && file[i + 1] == '\n') ++i;
        } else if (file[i] == '\n') {
            lines += "\r\n";
        } else {
            lines += file[i];
        }
    }
    const std::string text = Utf8OrWindows1252ToUtf8(lines);
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

TEST(EscapeFileContent, FindsEveryChangedCharacterWhereverItStandsInAWord) {
    using namespace std::string_literals;
    const std::string specials[] = {"&", "<", ">", "\"", "\r", "\n", "\r\n", "\0"s, "\xE9", "\xC3\xA9", "\x80"};
    for (const auto& first : specials) {
        for (const auto& second : specials) {
            for (std::size_t at = 0; at < 20; ++at) {
                const std::string file = std::string(at, 'a') + first + std::string(19 - at, 'b') + second + "cdefghijk";
                EXPECT_EQ(EscapeFileContent(file), Reference(file)) << "at " << at;
            }
        }
    }
}

} // namespace
} // namespace nfp
