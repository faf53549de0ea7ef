// The month a batch run sends, and its lines on standard output.
#include "lote/outcome_lines.h"
#include "lote/run_month.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace nfp {
namespace {

Date Day(int y, unsigned m, unsigned d)
{
    return Date{std::chrono::year{y}, std::chrono::month{m}, std::chrono::day{d}};
}

TEST(RunMonth, FieldTextForEachChoice)
{
    struct Case {
        const char* option;
        Date today;
        const char* field;
    };
    for (const Case& c : {Case{"atual", Day(2009, 3, 19), "03/2009"}, Case{"anterior", Day(2009, 3, 31), "02/2009"},
                          Case{"anterior", Day(2010, 1, 5), "12/2009"}, Case{"12/2034", Day(2009, 3, 1), "12/2034"},
                          Case{"3/2009", Day(2025, 12, 8), "03/2009"}}) {
        SCOPED_TRACE(c.option);
        const auto month = ParseRunMonth(c.option);
        ASSERT_TRUE(month);
        EXPECT_EQ(MonthFieldText(*month, c.today), c.field);
    }
    for (const char* refused : {"", "0/2009", "00/2009", "13/2009", "03/09", "03-2009", "03/20090", "/2009",
                                "003/2009", "Atual", "anteriores", "+3/2009"})
        EXPECT_FALSE(ParseRunMonth(refused)) << refused;
}

TEST(OutcomeLines, OneLinePerFileAndTheCount)
{
    EXPECT_EQ(AcceptedLine("11222333000181", "CF1.J39", "100000001"),
              "11222333000181 CF1.J39: aceito, protocolo 100000001");
    EXPECT_EQ(AcceptedLine("11222333000181", "CF1.J39", ""), "11222333000181 CF1.J39: aceito, sem número de protocolo");
    EXPECT_EQ(RefusedLine("11222333000181", "CF1.J39", "302|Arquivo vazio\r\n  linha 2\r"),
              "11222333000181 CF1.J39: recusado: 302|Arquivo vazio linha 2");
    EXPECT_EQ(FailedLine("1", "A.139", "Not Found (404) - 'https://x'"), "1 A.139: falha: Not Found (404) - 'https://x'");
    EXPECT_EQ(NotSentLine("1", "A.139"), "1 A.139: não enviado");
    EXPECT_EQ(SimulatedLine("1", "A.139", 1), "1 A.139: 1 byte");
    EXPECT_EQ(SimulatedLine("1", "A.139", 40000), "1 A.139: 40000 bytes");

    struct Count {
        LoteCounts counts;
        const char* line;
    };
    for (const Count& c : {Count{{3, 1, 0, 0}, "3 aceitos, 1 recusado, 0 falhas"},
                           Count{{0, 0, 0, 0}, "0 aceitos, 0 recusados, 0 falhas"},
                           Count{{1, 2, 1, 0}, "1 aceito, 2 recusados, 1 falha"},
                           Count{{0, 0, 2, 1}, "0 aceitos, 0 recusados, 2 falhas, 1 não enviado"},
                           Count{{0, 0, 1, 5}, "0 aceitos, 0 recusados, 1 falha, 5 não enviados"}})
        EXPECT_EQ(CountLine(c.counts), c.line);
    EXPECT_EQ(SimulatedCountLine(1), "1 arquivo a enviar, nada foi enviado");
    EXPECT_EQ(SimulatedCountLine(0), "0 arquivos a enviar, nada foi enviado");
    EXPECT_EQ(UnreadableFileText("/x/A.139", EISDIR), "não foi possível ler o arquivo /x/A.139: é uma pasta, não um arquivo");
    EXPECT_EQ(UnreadableFileText("/x/A.139", ENOENT), "não foi possível ler o arquivo /x/A.139: o arquivo não existe");
}

} // namespace
} // namespace nfp
