// The journal exported as CSV for a Brazilian spreadsheet, and the export's
// temporary file.
#include "journal/journal_csv.h"
#include "journal/journal_failure.h"
#include "journal_fixture.h"

#include <fstream>

namespace nfp::test {
namespace {

std::string ReadFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(JournalCsv, FieldsAreQuotedOnlyWhereNeeded)
{
    struct Case {
        std::string value, field;
    };
    const Case cases[] = {
        {"", ""},
        {"Arquivo recebido", "Arquivo recebido"},
        {"a;b", "\"a;b\""},
        {"diz \"sim\"", "\"diz \"\"sim\"\"\""},
        {"linha 1\r\nlinha 2", "\"linha 1\r\nlinha 2\""},
        {"só\nLF", "\"só\nLF\""},
        {" à esquerda", "\" à esquerda\""},
        {"à direita ", "\"à direita \""},
        {"ação, vírgula", "ação, vírgula"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CsvField(c.value), c.field) << c.value;
}

TEST(JournalCsv, ABomSemicolonsAndCrLfWithTheColumnNamesFirst)
{
    JournalRow sent{7, SentEntry("2026-12-10T15:40:11-03:00", "11222333000181", "A.C39")};
    sent.entry.resultado = "Recebido; \"ok\"";
    JournalRow query{8, {}};
    query.entry.quando = "2026-12-10T15:41:00-03:00";
    query.entry.operacao = "Consultar";
    query.entry.cnpj = "11222333000181";
    query.entry.usuario = "demo";
    query.entry.categoria = 1;
    query.entry.protocolo = "100000001";
    query.entry.resultado = "Processado";
    query.entry.situacao = "aceito";
    EXPECT_EQ(JournalCsv({query, sent}),
              "\xEF\xBB\xBF"
              "id;quando;operacao;cnpj;usuario;categoria;arquivo;pasta;tamanho;sha256;envio_normal;protocolo;"
              "resultado;situacao\r\n"
              "8;2026-12-10T15:41:00-03:00;Consultar;11222333000181;demo;1;;;;;;100000001;Processado;aceito\r\n"
              "7;2026-12-10T15:40:11-03:00;Enviar;11222333000181;demo;1;A.C39;/home/loja/nfp/;42;" +
                  std::string(64, 'a') + ";1;100000001;\"Recebido; \"\"ok\"\"\";aceito\r\n");
}

TEST(JournalCsv, TheExportReplacesAFileWholeAndAFailedOneLeavesNothing)
{
    TempDir folder;
    const auto target = folder.path() / "histórico.csv";
    std::ofstream(target) << "anterior";
    const std::vector<JournalRow> rows{{1, SentEntry("2026-12-10T15:40:11-03:00", "11222333000181", "A.C39")}};
    ExportJournalCsv(target.string(), rows);
    EXPECT_EQ(ReadFile(target), JournalCsv(rows));

    const auto missing = folder.path() / "não existe" / "histórico.csv";
    EXPECT_THROW(ExportJournalCsv(missing.string(), rows), JournalError);
    // Only the exported file: no temporary file is left behind.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"histórico.csv"});
}

} // namespace
} // namespace nfp::test
