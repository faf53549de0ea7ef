// The batch command's command line, read as a table of cases.
#include "lote/lote_command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nfp {
namespace {

using Action = LoteCommandLine::Action;

LoteCommandLine Parse(const std::vector<const char*>& arguments)
{
    return ParseLoteCommandLine(arguments);
}

TEST(LoteCommandLine, ReadsEveryOption)
{
    const LoteCommandLine c = Parse({"--processamento", "--mes", "03/2009", "--cnpj", "11222333000181",
                                     "--cnpj=44555666000181", "--cnpj", "11222333000181", "--retificar",
                                     "--resumo=/tmp/resumo.PDF", "--silencioso"});
    ASSERT_EQ(c.action, Action::Run) << c.problem;
    const LoteOptions& o = c.options;
    EXPECT_TRUE(o.processamento);
    EXPECT_TRUE(o.retificar);
    EXPECT_FALSE(o.simular);
    EXPECT_TRUE(o.silencioso);
    EXPECT_EQ(o.month, (RunMonth{RunMonth::Kind::Given, 3, 2009}));
    EXPECT_EQ(o.cnpjs, (std::vector<std::string>{"11222333000181", "44555666000181"}));
    ASSERT_TRUE(o.resumo);
    EXPECT_EQ(*o.resumo, (SummaryTarget{"/tmp/resumo.PDF", SummaryTarget::Kind::Pdf}));
}

TEST(LoteCommandLine, DefaultsAndAbbreviations)
{
    const LoteCommandLine c = Parse({"--vali", "--sim", "--mes=anterior", "--resu", "resumo.txt"});
    ASSERT_EQ(c.action, Action::Run) << c.problem;
    EXPECT_FALSE(c.options.processamento);
    EXPECT_TRUE(c.options.simular);
    EXPECT_FALSE(c.options.retificar);
    EXPECT_FALSE(c.options.silencioso);
    EXPECT_EQ(c.options.month.kind, RunMonth::Kind::Anterior);
    EXPECT_EQ(c.options.resumo, (SummaryTarget{"resumo.txt", SummaryTarget::Kind::Text}));
    EXPECT_TRUE(c.options.cnpjs.empty());

    const LoteCommandLine plain = Parse({"--validacao"});
    ASSERT_EQ(plain.action, Action::Run);
    EXPECT_EQ(plain.options.month.kind, RunMonth::Kind::Atual);
    EXPECT_FALSE(plain.options.resumo);
}

TEST(LoteCommandLine, HelpAndVersionWinWhereTheyStand)
{
    EXPECT_EQ(Parse({"--help"}).action, Action::Help);
    EXPECT_EQ(Parse({"--version"}).action, Action::Version);
    EXPECT_EQ(Parse({"--processamento", "--he"}).action, Action::Help);
    EXPECT_EQ(Parse({"--mes", "99/2009", "--help"}).action, Action::Usage);
}

struct Refusal {
    const char* name;
    std::vector<const char*> arguments;
    const char* problem;
};

void PrintTo(const Refusal& r, std::ostream* os)
{
    *os << r.name;
}

class LoteCommandLineRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(LoteCommandLineRefusal, SaysWhatIsWrong)
{
    const LoteCommandLine c = ParseLoteCommandLine(GetParam().arguments);
    EXPECT_EQ(c.action, Action::Usage);
    EXPECT_EQ(c.problem, GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoteCommandLineRefusal,
    ::testing::Values(
        Refusal{"nothing", {}, "informe --processamento ou --validacao"},
        Refusal{"no_mode", {"--mes", "atual"}, "informe --processamento ou --validacao"},
        Refusal{"both_modes", {"--processamento", "--validacao"}, "use --processamento ou --validacao, não as duas"},
        Refusal{"unknown", {"--processar"}, "opção não reconhecida: '--processar'"},
        Refusal{"ambiguous", {"--re"}, "opção ambígua: '--re' (--retificar, --resumo)"},
        Refusal{"short", {"-h"}, "opção não reconhecida: '-h'"},
        Refusal{"operand", {"--validacao", "arquivo.txt"}, "argumento não reconhecido: 'arquivo.txt'"},
        Refusal{"after_double_dash", {"--validacao", "--", "--simular"}, "argumento não reconhecido: '--simular'"},
        Refusal{"lone_dash", {"-"}, "argumento não reconhecido: '-'"},
        Refusal{"empty", {""}, "argumento não reconhecido: ''"},
        Refusal{"month_missing", {"--validacao", "--mes"}, "a opção '--mes' requer um argumento"},
        Refusal{"month_13", {"--validacao", "--mes", "13/2009"},
                "mês inválido: '13/2009' (use MM/AAAA, atual ou anterior)"},
        Refusal{"month_text", {"--validacao", "--mes=março"},
                "mês inválido: 'março' (use MM/AAAA, atual ou anterior)"},
        Refusal{"month_twice", {"--validacao", "--mes", "atual", "--mes", "anterior"},
                "a opção '--mes' foi dada mais de uma vez"},
        Refusal{"flag_with_value", {"--simular=sim"}, "a opção '--simular' não aceita argumento"},
        Refusal{"cnpj_empty", {"--validacao", "--cnpj="}, "a opção '--cnpj' requer um C.N.P.J."},
        Refusal{"summary_kind", {"--validacao", "--resumo", "resumo.doc"},
                "o resumo deve ser um arquivo .pdf ou .txt: 'resumo.doc'"},
        Refusal{"summary_no_name", {"--validacao", "--resumo", "/tmp/.pdf"},
                "o resumo deve ser um arquivo .pdf ou .txt: '/tmp/.pdf'"},
        Refusal{"summary_twice", {"--validacao", "--resumo", "a.pdf", "--resumo", "b.pdf"},
                "a opção '--resumo' foi dada mais de uma vez"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoteCommandLine, TextsArePortugueseAndNameTheFiles)
{
    EXPECT_EQ(LoteVersionText(), "nfp-envio-lote 1.0.0.4\n");
    const std::string help = LoteHelpText("/home/ana/.config/Zeltra/NFP.ini", "/home/ana/envios.sqlite");
    for (const char* text : {"Uso: nfp-envio-lote (--processamento | --validacao) [OPÇÃO]...", "--mes MÊS",
                             "--cnpj CNPJ", "--retificar", "--simular", "--resumo ARQUIVO", "--silencioso",
                             "NFP_ENDPOINT", "NFP_CA_BUNDLE", "NFP_JOURNAL", "https_proxy",
                             "Perfis: /home/ana/.config/Zeltra/NFP.ini",
                             "Histórico de envios: /home/ana/envios.sqlite", "75 outro envio"})
        EXPECT_NE(help.find(text), std::string::npos) << text;
    EXPECT_EQ(LoteUsageErrorText("informe --processamento ou --validacao"),
              "nfp-envio-lote: informe --processamento ou --validacao\n"
              "Uso: nfp-envio-lote (--processamento | --validacao) [OPÇÃO]...\n"
              "Experimente 'nfp-envio-lote --help' para mais informações.\n");
}

} // namespace
} // namespace nfp
