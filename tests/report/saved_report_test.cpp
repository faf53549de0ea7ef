// The saved report format: the control record, the items as lines, version 3
// files and the files that do not read.
#include <gtest/gtest.h>

#include "report/files/saved_report.h"
#include "saved_report_lines.h"

using namespace nfp;
using namespace nfp::test;

TEST(SavedReport, ControlRecordAndItemsAsWritten) {
    SavedReportSettings s;
    s.title = "Relatório de Envio";
    s.lines = 88;
    s.columns = 132;
    s.lineSpacing = TLinha::Oito;
    s.defaultSize = TSize::S12cpp;
    s.defaultStyle = {TEstilo::Ssublinhado, TEstilo::Snegrito};
    const std::vector<std::string> items = {"0001001001016T000000Ação", "0002010005018TFF0000x"};
    EXPECT_EQ(WriteSavedReport(s, items),
              Lines({V4, Notice, "000002", "Relat\xF3rio de Envio", "000088", "000132", "8", "F12", "NS",
                     "0001001001016T000000A\xE7\xE3o", "0002010005018TFF0000x"}));
}

TEST(SavedReport, SettingsLinesForEachValue) {
    struct Case {
        TLinha spacing;
        TSize size;
        TStyle style;
        const char* spacingLine;
        const char* sizeLine;
        const char* styleLine;
    };
    const Case cases[] = {
        {TLinha::Seis, TSize::S05cpp, {}, "6", "F05", ""},
        {TLinha::Seis, TSize::S10cpp, {TEstilo::Sitalico}, "6", "F10", "I"},
        {TLinha::Oito, TSize::S17cpp, {TEstilo::Snegrito, TEstilo::Sitalico}, "8", "F17", "NI"},
        {TLinha::Oito, TSize::S20cpp, {TEstilo::Snegrito, TEstilo::Sitalico, TEstilo::Ssublinhado}, "8", "F20",
         "NIS"},
    };
    for (const Case& c : cases) {
        SavedReportSettings s;
        s.title = "T";
        s.lineSpacing = c.spacing;
        s.defaultSize = c.size;
        s.defaultStyle = c.style;
        const std::string text = WriteSavedReport(s, {});
        EXPECT_EQ(text, Lines({V4, Notice, "000000", "T", "000066", "000080", c.spacingLine, c.sizeLine, c.styleLine}))
            << c.sizeLine;
        const SavedReport back = ReadSavedReport(text);
        EXPECT_EQ(back.header.settings.lineSpacing, c.spacing);
        EXPECT_EQ(back.header.settings.defaultSize, c.size);
        EXPECT_EQ(back.header.settings.defaultStyle, c.style);
        EXPECT_TRUE(back.items.empty());
        EXPECT_TRUE(back.CountMatches());
    }
}

TEST(SavedReport, RoundTripKeepsItemsAndSettings) {
    SavedReportSettings s;
    s.title = "Títulos & ações";
    s.lines = 12;
    s.columns = 40;
    s.defaultSize = TSize::S17cpp;
    s.defaultStyle = {TEstilo::Sitalico};
    const std::vector<std::string> items = {
        "0001001001016T000000preto", "0001001001016TFF0000vermelho", "0001002003018T0000FFazul em negrito",
        "0001003001016B000000A==B",  "0002001001016C00800027 69",     "0002004010144T123ABCà&PAGE& º",
    };
    const SavedReport back = ReadSavedReport(WriteSavedReport(s, items));
    EXPECT_EQ(back.header.version, SavedReportVersion::V4);
    EXPECT_EQ(back.header.expectedCount, 6);
    EXPECT_EQ(back.items, items);
    EXPECT_EQ(back.header.settings.title, s.title);
    EXPECT_EQ(back.header.settings.lines, 12);
    EXPECT_EQ(back.header.settings.columns, 40);
    EXPECT_EQ(back.header.settings.lineSpacing, TLinha::Seis);
    EXPECT_EQ(back.header.settings.defaultSize, TSize::S17cpp);
    EXPECT_EQ(back.header.settings.defaultStyle, TStyle{TEstilo::Sitalico});
}

TEST(SavedReport, VersionThreeItemsAreReadAsBlack) {
    const std::string file =
        Lines({V3, Notice, "000002", "Antigo", "000066", "000080", "6", "F10", "", "0001001001016TOl\xE1",
               "0002003004018Tsegunda"});
    const SavedReport back = ReadSavedReport(file);
    EXPECT_EQ(back.header.version, SavedReportVersion::V3);
    EXPECT_EQ(back.items, (std::vector<std::string>{"0001001001016T000000Olá", "0002003004018T000000segunda"}));
    EXPECT_TRUE(back.CountMatches());
}

TEST(SavedReport, ItemsEndAtAnEmptyLineAndAnyLineEnd) {
    // Lone LF, lone CR and CR LF all end a line; an empty line ends the items.
    const std::string file = V4 + "\n" + Notice + "\r" + "000003\r\nT\n66\n80\n6\nF10\n\n" +
                             "0001001001016T000000a\r0001002001016T000000b\n\n0001003001016T000000c\r\n";
    const SavedReport back = ReadSavedReport(file);
    EXPECT_EQ(back.items, (std::vector<std::string>{"0001001001016T000000a", "0001002001016T000000b"}));
    EXPECT_EQ(back.header.expectedCount, 3);
    EXPECT_FALSE(back.CountMatches());
}

TEST(SavedReport, ControlRecordReadsAsTheComponentWould) {
    // "6" alone is six lines per inch; a size the file does not name leaves
    // the component's own; style letters count anywhere in their line.
    const SavedReport back = ReadSavedReport(Lines({V4, Notice, "  0001", "", "66", "+80", "06", "F11", "xSyN"}));
    EXPECT_EQ(back.header.expectedCount, 1);
    EXPECT_EQ(back.header.settings.title, "");
    EXPECT_EQ(back.header.settings.columns, 80);
    EXPECT_EQ(back.header.settings.lineSpacing, TLinha::Oito);
    EXPECT_FALSE(back.header.settings.defaultSize.has_value());
    EXPECT_EQ(back.header.settings.defaultStyle, (TStyle{TEstilo::Snegrito, TEstilo::Ssublinhado}));
}

TEST(SavedReport, FilesThatAreNotSavedReports) {
    const std::string good[] = {V4, Notice, "000000", "T", "000066", "000080", "6", "F10", ""};
    struct Case {
        const char* name;
        int line; // 0-based line replaced
        std::string text;
    };
    const Case cases[] = {
        {"another version", 0, "<< RelGrade 5.0 - Talverin Inform\xE1tica >>"},
        {"identity in UTF-8", 0, "<< RelGrade 4.0 - Talverin Informática >>"},
        {"identity with a trailing blank", 0, V4 + " "},
        {"empty first line", 0, ""},
        {"count not a number", 2, "00001x"},
        {"count empty", 2, ""},
        {"negative count", 2, "-1"},
        {"lines not a number", 4, "sessenta"},
        {"no lines", 4, "000000"},
        {"columns beyond the grid", 5, "001000"},
    };
    for (const Case& c : cases) {
        std::string file;
        for (int i = 0; i < 9; ++i) file += (i == c.line ? c.text : good[i]) + CRLF;
        try {
            ReadSavedReport(file);
            ADD_FAILURE() << c.name << ": read";
        } catch (const SavedReportFormatError& e) {
            EXPECT_STREQ(e.what(), "Formato do arquivo é inválido...") << c.name;
        }
    }
    EXPECT_THROW(ReadSavedReport(""), SavedReportFormatError);
    // A file cut short after its identity has no count.
    EXPECT_THROW(ReadSavedReport(V4 + CRLF + Notice + CRLF), SavedReportFormatError);
}

TEST(SavedReport, CharactersWindows1252LacksAreWrittenAsQuestionMarks) {
    EXPECT_EQ(SavedReportItemLine("0001001001016T000000€ ☃ ü"), "0001001001016T000000\x80 ? \xFC\r\n");
}
