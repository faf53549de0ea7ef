#include "service/reply_extraction.h"

#include <gtest/gtest.h>

#include <ostream>

namespace nfp {
namespace {

struct CutCase {
    const char* name;
    const char* reply;
    const char* opening;
    const char* closing;
    const char* expected;
};

const CutCase kCutCases[] = {
    {"BothTags", "<r><EnviarResult>14/02/2009 abc</EnviarResult></r>", "<EnviarResult>", "</EnviarResult>",
     "14/02/2009 abc"},
    {"AdjacentTags", "<EnviarResult></EnviarResult>", "<EnviarResult>", "</EnviarResult>", ""},
    {"OnlyClosingTagSending", "0123456789ABCDEFGHIJ</EnviarResult>", "<EnviarResult>", "</EnviarResult>",
     "DEFGHIJ"},
    {"OnlyClosingTagQuery", "0123456789ABCDEFGHIJ</ConsultarResult>", "<ConsultarResult>", "</ConsultarResult>",
     "GHIJ"},
    {"OnlyClosingTagAtTheStart", "</EnviarResult>abc", "<EnviarResult>", "</EnviarResult>", ""},
    {"NoClosingTag", "<EnviarResult>14/02/2009", "<EnviarResult>", "</EnviarResult>", ""},
    {"NeitherTag", "<soap:Fault>x</soap:Fault>", "<EnviarResult>", "</EnviarResult>", ""},
    {"ClosingBeforeOpening", "</EnviarResult>x<EnviarResult>y", "<EnviarResult>", "</EnviarResult>", ""},
    {"PrefixedElementNotFound", "<ns:EnviarResult>t</ns:EnviarResult>", "<EnviarResult>", "</EnviarResult>", ""},
    {"LetterCaseCounts", "<enviarresult>t</enviarresult>", "<EnviarResult>", "</EnviarResult>", ""},
    {"FirstOccurrences", "<EnviarResult>a</EnviarResult><EnviarResult>b</EnviarResult>", "<EnviarResult>",
     "</EnviarResult>", "a"},
    {"EntitiesStay", "<EnviarResult>a &amp; b &lt;c&gt;</EnviarResult>", "<EnviarResult>", "</EnviarResult>",
     "a &amp; b &lt;c&gt;"},
    {"Utf8BytesStay", "<ConsultarResult>n\xC3\xA3o</ConsultarResult>", "<ConsultarResult>", "</ConsultarResult>",
     "n\xC3\xA3o"},
};

void PrintTo(const CutCase& c, std::ostream* os) { *os << c.name; }

class CutTable : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutTable, CutsBetweenTheTags) {
    const CutCase& c = GetParam();
    EXPECT_EQ(ExtractResultText(c.reply, c.opening, c.closing), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CutTable, ::testing::ValuesIn(kCutCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct OperationCase {
    const char* name;
    ServiceOperation operation;
    const char* reply;
    const char* expected;
};

const OperationCase kOperationCases[] = {
    {"Enviar", ServiceOperation::Enviar, "<EnviarResponse><EnviarResult>e</EnviarResult></EnviarResponse>", "e"},
    {"RetificarOwnTags", ServiceOperation::Retificar,
     "<RetificarResponse><RetificarResult>r</RetificarResult></RetificarResponse>", "r"},
    {"RetificarFallsBackToEnviarTags", ServiceOperation::Retificar,
     "<EnviarResponse><EnviarResult>e</EnviarResult></EnviarResponse>", "e"},
    {"RetificarTagsWin", ServiceOperation::Retificar,
     "<EnviarResult>e</EnviarResult><RetificarResult>r</RetificarResult>", "r"},
    {"EnviarIgnoresRetificarTags", ServiceOperation::Enviar, "<RetificarResult>r</RetificarResult>", ""},
    {"Consultar", ServiceOperation::Consultar, "<ConsultarResult>c</ConsultarResult>", "c"},
    {"SoapFault", ServiceOperation::Enviar,
     "<soap:Envelope><soap:Body><soap:Fault><soap:Reason>x</soap:Reason></soap:Fault></soap:Body></soap:Envelope>",
     ""},
};

void PrintTo(const OperationCase& c, std::ostream* os) { *os << c.name; }

class OperationTable : public ::testing::TestWithParam<OperationCase> {};

TEST_P(OperationTable, CutsWithTheOperationsTags) {
    const OperationCase& c = GetParam();
    EXPECT_EQ(ExtractOperationResult(c.reply, c.operation), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, OperationTable, ::testing::ValuesIn(kOperationCases),
                         [](const auto& info) { return std::string(info.param.name); });

RegionalSettings Settings(DateOrder order, const char* separator = "/") {
    RegionalSettings rs = RegionalSettings::Brazilian();
    rs.dateOrder = order;
    rs.dateSeparator = separator;
    return rs;
}

struct AcceptCase {
    const char* name;
    const char* result;
    const char* separator;
    bool dayMonthYear;
    bool monthDayYear;
    bool yearMonthDay;
};

// Each result read under the three short-date orders, current year 2026.
const AcceptCase kAcceptCases[] = {
    {"DayFirst", "14/02/2009 10:00:00 Protocolo 123456789", "/", true, false, false},
    {"MonthFirst", "02/14/2009 10:00:00", "/", false, true, false},
    {"YearFirst", "2009/02/14 10:00:00", "/", false, false, true},
    {"AmbiguousDayAndMonth", "03/04/2009 x", "/", true, true, false},
    {"LeadingBlankNineCharacterDate", " 14/2/2009 ok", "/", true, false, false},
    {"LeadingBlanks", " 4/2/2009 ok", "/", true, true, false},
    {"TwoNumbersMeanDayAndMonth", "14/02     resto", "/", true, false, true},
    {"TrailingSeparator", "1/2/2009/ resto", "/", true, true, false},
    {"TwoDigitYearFollowedByTime", "14/02/09 10:00", "/", false, false, false},
    {"TwoDigitYearAlone", "14/02/09   x", "/", true, false, true},
    {"NoSuchDay", "31/02/2009 x", "/", false, false, false},
    {"OtherSeparator", "14.02.2009 x", "/", false, false, false},
    {"RegionalSeparator", "14.02.2009 x", ".", true, false, false},
    {"Refusal", "206|CNPJ informado inv\xC3\xA1lido", "/", false, false, false},
    {"Empty", "", "/", false, false, false},
    {"ShortButADate", "14/2/2009", "/", true, false, false},
};

void PrintTo(const AcceptCase& c, std::ostream* os) { *os << c.name; }

class AcceptTable : public ::testing::TestWithParam<AcceptCase> {};

TEST_P(AcceptTable, AcceptsWhatBeginsWithADateInTheUsersOrder) {
    const AcceptCase& c = GetParam();
    EXPECT_EQ(IsAcceptedResult(c.result, Settings(DateOrder::DayMonthYear, c.separator), 2026), c.dayMonthYear);
    EXPECT_EQ(IsAcceptedResult(c.result, Settings(DateOrder::MonthDayYear, c.separator), 2026), c.monthDayYear);
    EXPECT_EQ(IsAcceptedResult(c.result, Settings(DateOrder::YearMonthDay, c.separator), 2026), c.yearMonthDay);
}

INSTANTIATE_TEST_SUITE_P(Cases, AcceptTable, ::testing::ValuesIn(kAcceptCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IsAcceptedResult, CountsTenCharactersNotBytes) {
    // Ten characters are "1/2/2009 \xC3\xA9" — the accent is one character past them.
    EXPECT_FALSE(IsAcceptedResult("1/2/2009 \xC3\xA9", Settings(DateOrder::DayMonthYear), 2026));
    EXPECT_TRUE(IsAcceptedResult("1/2/2009  \xC3\xA9", Settings(DateOrder::DayMonthYear), 2026));
}

struct ProtocolCase {
    const char* name;
    const char* result;
    const char* expected;
};

const ProtocolCase kProtocolCases[] = {
    {"Positions31To39", "10/12/2026 09:56:09 Protocolo 123456789 - Arquivo recebido", "123456789"},
    {"Exactly39", "10/12/2026 09:56:09 Protocolo 987654321", "987654321"},
    {"ThirtyFiveCharacters", "10/12/2026 09:56:09 Protocolo 12345", "12345"},
    {"ThirtyCharacters", "10/12/2026 09:56:09 Protocolo ", ""},
    {"Empty", "", ""},
    {"CountsCharacters", "14/02/2009 a\xC3\xA7\xC3\xA3o xxxxxxxxxxxxxx123456789!", "123456789"},
    {"EntityKept", "14/02/2009 &amp;xxxxxxxxxxxxxx123&amp;4567", "123&amp;4"},
    // Text that is not UTF-8 counts one character per byte, before position
    // 31 and after it alike.
    {"NotUtf8CountsBytes", "14/02/2009 a\xE7\xE3o xxxxxxxxxxxxxx123456789!", "123456789"},
    {"NotUtf8BeforeUtf8After", "14/02/2009 \xA3xxxxxxxxxxxxxxxxxxab\xC3\xA7\xC3\xA3" "defgh",
     "ab\xC3\xA7\xC3\xA3" "def"},
};

void PrintTo(const ProtocolCase& c, std::ostream* os) { *os << c.name; }

class ProtocolTable : public ::testing::TestWithParam<ProtocolCase> {};

TEST_P(ProtocolTable, TakesCharacters31To39) {
    EXPECT_EQ(ProtocolNumber(GetParam().result), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProtocolTable, ::testing::ValuesIn(kProtocolCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace nfp
