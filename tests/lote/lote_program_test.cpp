// The nfp-envio-lote program itself, run as cron or a systemd timer runs
// it: exit statuses, the lock, signals, the summary files and the journal's
// warning, against the local service.
#include "lote_fixture.h"

#include "lote/run_lock.h"
#include "pdf_test_support.h"

#include <csignal>
#include <thread>
#include <unistd.h>

namespace nfp::test {
namespace {

using P = std::pair<std::string, std::string>;

class LoteProgramTest : public LoteTest {
protected:
    void TwoProfiles()
    {
        SaveDemo("um");
        SaveContador("44555666000181", "dois");
        for (const char* n : {"B.139", "A.139", "C.139"})
            WriteFile("um", n, std::string("um ") + n);
        WriteFile("dois", "X.139", "dois");
    }

    static std::size_t Occurrences(const std::string& text, const std::string& part)
    {
        std::size_t n = 0;
        for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    }
};

TEST_F(LoteProgramTest, UsageErrorsEndWith64AndSendNothing)
{
    TwoProfiles();
    struct Case {
        std::vector<std::string> arguments;
        std::string problem;
    };
    for (const Case& c : {Case{{}, "informe --processamento ou --validacao"},
                          Case{{"--processamento", "--mes", "13/2009"}, "mês inválido: '13/2009'"},
                          Case{{"--validacao", "--resumo", "resumo.doc"}, "o resumo deve ser um arquivo"},
                          Case{{"--processamento", "--cnpj", "99999999000191"},
                               "C.N.P.J. sem perfil em " + (folder / "config/Zeltra/NFP.ini").string() +
                                   ": 99999999000191"}}) {
        const ProgramEnd end = Run(c.arguments);
        EXPECT_EQ(end.status, 64) << end.err;
        EXPECT_EQ(end.out, "");
        EXPECT_TRUE(end.err.starts_with("nfp-envio-lote: " + c.problem)) << end.err;
        EXPECT_NE(end.err.find("Experimente 'nfp-envio-lote --help'"), std::string::npos);
    }
    EXPECT_TRUE(service->Requests().empty());
    EXPECT_FALSE(std::filesystem::exists(JournalFile()));

    const ProgramEnd version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "nfp-envio-lote 1.0.0.4\n");
    const ProgramEnd help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Perfis: " + (folder / "config/Zeltra/NFP.ini").string() + "\n"), std::string::npos)
        << help.out;
    EXPECT_NE(help.out.find("Histórico de envios: " + JournalFile().string() + "\n"), std::string::npos);
}

TEST_F(LoteProgramTest, EveryFileAcceptedEndsWith0AndARefusalWith1)
{
    TwoProfiles();
    const ProgramEnd all = Run({"--processamento", "--mes", "03/2009"});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.err, "");
    EXPECT_TRUE(all.out.ends_with("\n4 aceitos, 0 recusados, 0 falhas\n")) << all.out;

    service->SetFault({.result = "206|CNPJ informado inválido", .after = 1, .count = 1});
    const ProgramEnd refused = Run({"--processamento", "--mes", "03/2009", "--silencioso"});
    EXPECT_EQ(refused.status, 1) << refused.err;
    EXPECT_EQ(refused.out, "11222333000181 B.139: recusado: 206|CNPJ informado inválido\n"
                           "3 aceitos, 1 recusado, 0 falhas\n");
    EXPECT_EQ(Journal().size(), 8u);
}

TEST_F(LoteProgramTest, AStoppedServiceEndsWith2AndTheJournalKeepsEverything)
{
    TwoProfiles();
    ASSERT_EQ(Run({"--processamento", "--mes", "03/2009"}).status, 0);
    service->Stop();
    const ProgramEnd end = Run({"--processamento", "--mes", "03/2009"});
    EXPECT_EQ(end.status, 2);
    EXPECT_NE(end.out.find("11222333000181 A.139: falha: Não foi possível conectar ao servidor ("), std::string::npos)
        << end.out;
    EXPECT_NE(end.out.find("11222333000181 B.139: não enviado\n11222333000181 C.139: não enviado\n"),
              std::string::npos);
    EXPECT_NE(end.out.find("44555666000181 X.139: falha: Não foi possível conectar ao servidor ("), std::string::npos);
    EXPECT_TRUE(end.out.ends_with("0 aceitos, 0 recusados, 2 falhas, 2 não enviados\n")) << end.out;
    EXPECT_NE(end.err.find("nfp-envio-lote: C.N.P.J. 11222333000181: o envio deste perfil parou na falha; 2 "
                           "arquivos não foram enviados.\n"),
              std::string::npos)
        << end.err;
    const auto journal = Journal();
    ASSERT_EQ(journal.size(), 6u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(journal[i].situacao, "aceito") << i;
    EXPECT_EQ(journal[4].situacao, "falha");
    EXPECT_EQ(journal[4].arquivo, "A.139");
    EXPECT_EQ(journal[5].situacao, "falha");
    EXPECT_EQ(journal[5].arquivo, "X.139");
}

TEST_F(LoteProgramTest, ASecondRunEndsWith75NamingTheHolder)
{
    TwoProfiles();
    const RunLock held(RunLockFileFor(JournalFile()));
    const ProgramEnd end = Run({"--processamento", "--mes", "03/2009"});
    EXPECT_EQ(end.status, 75);
    EXPECT_EQ(end.out, "");
    EXPECT_EQ(end.err, "nfp-envio-lote: outro envio já está em andamento (processo " + std::to_string(::getpid()) +
                           "); o arquivo de trava é " + JournalFile().string() +
                           ".lock. Tente de novo quando ele terminar.\n");
    EXPECT_TRUE(service->Requests().empty());
    // A simulation sends nothing and needs no lock.
    EXPECT_EQ(Run({"--processamento", "--mes", "03/2009", "--simular"}).status, 0);
}

TEST_F(LoteProgramTest, SigtermStopsBetweenFilesWithNothingHalfRecorded)
{
    TwoProfiles();
    // The second file takes a while at the service: the signal comes while
    // it is on its way.
    service->SetFault({.delay = std::chrono::milliseconds(2500), .after = 1, .count = 1});
    LoteProcess process({"--processamento", "--mes", "03/2009"}, Environment(), folder);
    ASSERT_TRUE(process.WaitForOut("11222333000181 A.139: aceito")) << process.Out();
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    process.Signal(SIGTERM);
    const ProgramEnd end = process.Wait();
    EXPECT_EQ(end.signal, SIGTERM) << end.status << end.err;
    EXPECT_EQ(Sent(), (std::vector<P>{{"11222333000181", "A.139"}, {"11222333000181", "B.139"}}));
    const auto requests = service->Requests();
    EXPECT_EQ(end.out, "11222333000181 A.139: aceito, protocolo " + requests[0].issued +
                           "\n11222333000181 B.139: aceito, protocolo " + requests[1].issued +
                           "\n11222333000181 C.139: não enviado\n"
                           "2 aceitos, 0 recusados, 0 falhas, 1 não enviado\n");
    EXPECT_NE(end.err.find("envio interrompido por SIGTERM"), std::string::npos) << end.err;
    const auto journal = Journal();
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[1].arquivo, "B.139");
    EXPECT_EQ(journal[1].protocolo, requests[1].issued);
    // The lock went with the process.
    EXPECT_NO_THROW(RunLock(RunLockFileFor(JournalFile())));
}

TEST_F(LoteProgramTest, TheSummaryAsPdfAndAsText)
{
    TwoProfiles();
    const std::filesystem::path pdf = folder / "Documentos" / "resumo-2009-03.pdf";
    std::filesystem::create_directories(pdf.parent_path());
    const ProgramEnd end = Run({"--processamento", "--mes", "03/2009", "--resumo", pdf.string()});
    EXPECT_EQ(end.status, 0) << end.err;
    EXPECT_EQ(end.err, "nfp-envio-lote: resumo gravado em " + pdf.string() + "\n");
    const std::string text = PdfText(pdf.string());
    EXPECT_NE(text.find("Resumo do Envio das Notas Fiscais Paulista, emissão: "), std::string::npos) << text;
    EXPECT_NE(text.find("Pag:"), std::string::npos);
    for (const auto& r : service->Requests())
        EXPECT_NE(text.find("Protocolo " + r.issued), std::string::npos) << r.issued;
    EXPECT_NE(text.find("A.139"), std::string::npos);

    const std::filesystem::path txt = folder / "Documentos" / "resumo.TXT";
    const ProgramEnd plain =
        Run({"--processamento", "--mes", "03/2009", "--silencioso", "--cnpj", "44555666000181", "--resumo", txt.string()});
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.err, "");
    std::ifstream in(txt, std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string dashes(95, '-');
    // In the printer's code page, as the preview saves it.
    EXPECT_TRUE(saved.starts_with(dashes + "\r\nResumo do Envio das Notas Fiscais Paulista, emiss")) << saved;
    EXPECT_NE(saved.find("Pag:   1\r\nArquivo:      Caminho:\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\r\nX.139         " + Files("dois").string() + "/"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Protocolo " + service->Requests().back().issued), std::string::npos);
    // Nothing but the two summaries in the folder: each was renamed into place.
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(pdf.parent_path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"resumo-2009-03.pdf", "resumo.TXT"}));
}

TEST_F(LoteProgramTest, AJournalThatCannotBeWrittenIsSaidOnceAndTheFilesGoOut)
{
    TwoProfiles();
    std::ofstream(folder / "nao-e-pasta") << "x";
    auto environment = Environment();
    const std::filesystem::path journal = folder / "nao-e-pasta" / "envios.sqlite";
    environment["NFP_JOURNAL"] = journal.string();
    environment["XDG_RUNTIME_DIR"] = folder.string();
    const ProgramEnd end = RunLoteProgram({"--processamento", "--mes", "03/2009"}, environment, folder);
    EXPECT_EQ(end.status, 0) << end.err;
    EXPECT_EQ(Sent().size(), 4u);
    EXPECT_EQ(Occurrences(end.err, "Não foi possível gravar o histórico de envios em " + journal.string() +
                                       ": parte do caminho não é uma pasta. Os envios continuam, mas não ficam "
                                       "registrados.\n"),
              1u)
        << end.err;
    EXPECT_EQ(Occurrences(end.err, "histórico"), 1u) << end.err;
}

} // namespace
} // namespace nfp::test
