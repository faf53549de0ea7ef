#include "service/file_content.h"

#include "util/text_codec.h"

#include <gtest/gtest.h>

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
