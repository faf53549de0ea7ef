// A batch run in this process, against the local service, with profiles in
// a throwaway profile file, receipt files of a month and a real journal.
#include "lote_fixture.h"

#include "journal/journal_recorder.h"
#include "lote/lote_run.h"
#include "lote/lote_send_view.h"
#include "sending/http_service_poster.h"
#include "service/http_poster.h"
#include "service/service_envelope.h"
#include "util/table_layouts.h"

#include <sstream>

namespace nfp::test {
namespace {

using P = std::pair<std::string, std::string>;

Date Day(int y, unsigned m, unsigned d)
{
    return Date{std::chrono::year{y}, std::chrono::month{m}, std::chrono::day{d}};
}

struct Outcome {
    LoteRunResult result;
    LoteCounts counts;
    int exitStatus = -1;
    std::string out;
    std::string err;
    int results = 0; // rows of the results table
    std::vector<std::string> unknown;
};

class LoteRunTest : public LoteTest {
protected:
    // Demo (two March 2009 files and one of April) and a second accountant
    // CNPJ (three of March, in another order on disk).
    void TwoProfiles()
    {
        SaveDemo("um");
        SaveContador("77888999000181", "tres");
        for (const char* n : {"B.139", "A.139", "A.140"})
            WriteFile("um", n, std::string("um ") + n + "\r\n<&>\"\n");
        for (const char* n : {"E.239", "C.139", "d.j39"})
            WriteFile("tres", n, std::string("tres ") + n);
    }

    Outcome Run(const std::vector<const char*>& arguments, Date today = Day(2009, 3, 19),
                const std::function<void(RunProfiles&)>& adjust = {})
    {
        Outcome o;
        const LoteCommandLine command = ParseLoteCommandLine(arguments);
        EXPECT_EQ(command.action, LoteCommandLine::Action::Run) << command.problem;
        RunProfiles profiles = LoadRunProfiles(*store, command.options.cnpjs);
        o.unknown = profiles.unknown;
        if (adjust)
            adjust(profiles);
        THttpPoster http(service->PosterSettings());
        HttpServicePoster poster(http);
        JournalRecorder journal(JournalFile(), [this](const std::string& m) { warnings.push_back(m); });
        std::ostringstream out, err;
        LoteOutput output(out, err, command.options.silencioso);
        MemoryTable results(ResultsLayout());
        const RegionalSettings regional = RegionalSettings::Brazilian();
        LoteRunParts parts{poster, journal, regional, today, output, stopRequested};
        o.result = RunLote(profiles, results, command.options, parts);
        o.counts = output.Counts();
        o.exitStatus = LoteExitStatus(o.counts, o.result.failed);
        o.out = out.str();
        o.err = err.str();
        o.results = results.RecordCount();
        return o;
    }

    // The request the window's send run builds for this file.
    static std::string Expected(ServiceOperation operation, const ServiceCredentials& credentials,
                                const std::string& name, const std::string& bytes, bool envioNormal)
    {
        ServiceFields fields;
        fields.NomeArquivo = name;
        fields.EnvioNormal = envioNormal;
        return BuildServiceEnvelopeFromFile(operation, credentials, fields, bytes);
    }

    std::function<bool()> stopRequested;
    std::vector<std::string> warnings;
};

const ServiceCredentials kDemo{"demo", "demo123", "11222333000181", 1};
const ServiceCredentials kContador{"contador", "conta456", "77888999000181", 2};

TEST_F(LoteRunTest, EachProfileSendsItsMonthInNameOrderWithItsOwnCredentials)
{
    TwoProfiles();
    const Outcome o = Run({"--processamento", "--mes", "03/2009"});
    EXPECT_EQ(o.err, "");
    const auto requests = service->Requests();
    struct Want {
        ServiceCredentials who;
        const char* name;
        std::string bytes;
    };
    const std::vector<Want> wanted = {{kDemo, "A.139", "um A.139\r\n<&>\"\n"},
                                      {kDemo, "B.139", "um B.139\r\n<&>\"\n"},
                                      {kContador, "C.139", "tres C.139"},
                                      {kContador, "E.239", "tres E.239"},
                                      {kContador, "d.j39", "tres d.j39"}};
    ASSERT_EQ(requests.size(), wanted.size());
    const auto journal = Journal();
    ASSERT_EQ(journal.size(), wanted.size());
    std::string lines;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        SCOPED_TRACE(wanted[i].name);
        EXPECT_EQ(requests[i].body, Expected(ServiceOperation::Enviar, wanted[i].who, wanted[i].name,
                                             wanted[i].bytes, true));
        const JournalEntry& e = journal[i];
        EXPECT_EQ(e.operacao, "Enviar");
        EXPECT_EQ(e.cnpj, wanted[i].who.CNPJ);
        EXPECT_EQ(e.usuario, wanted[i].who.Usuario);
        EXPECT_EQ(e.categoria, wanted[i].who.CategoriaUsuario);
        EXPECT_EQ(e.arquivo, wanted[i].name);
        EXPECT_EQ(e.pasta, Files(wanted[i].who.Usuario == "demo" ? "um" : "tres").string() + "/");
        EXPECT_EQ(e.tamanho, static_cast<std::int64_t>(wanted[i].bytes.size()));
        EXPECT_EQ(e.envioNormal, 1);
        EXPECT_EQ(e.situacao, "aceito");
        EXPECT_EQ(e.protocolo, requests[i].issued);
        lines += wanted[i].who.CNPJ + " " + wanted[i].name + ": aceito, protocolo " + requests[i].issued + "\n";
    }
    EXPECT_EQ(o.out, lines + "5 aceitos, 0 recusados, 0 falhas\n");
    EXPECT_EQ(o.exitStatus, 0);
    EXPECT_EQ(o.results, 5);
    EXPECT_TRUE(warnings.empty());
}

TEST_F(LoteRunTest, ValidationAndRectificationAsTheWindowsListsSayThem)
{
    TwoProfiles();
    const Outcome o = Run({"--validacao", "--retificar", "--mes=03/2009", "--cnpj", "11222333000181"});
    const auto requests = service->Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].body, Expected(ServiceOperation::Retificar, kDemo, "A.139", "um A.139\r\n<&>\"\n", false));
    EXPECT_EQ(requests[1].operation, "Retificar");
    EXPECT_EQ(requests[1].envioNormal, "false");
    EXPECT_EQ(Journal().front().operacao, "Retificar");
    EXPECT_EQ(Journal().front().envioNormal, 0);
    EXPECT_EQ(o.exitStatus, 0);
}

TEST_F(LoteRunTest, CnpjChoosesProfilesMarkedOrNotAndUnknownOnesAreTold)
{
    TwoProfiles();
    SaveContador("44555666000181", "dois");
    WriteFile("dois", "X.139", "dois");
    // Unmarked in the table: --cnpj sends it all the same.
    const Outcome o = Run({"--processamento", "--mes", "03/2009", "--cnpj", "77.888.999/0001-81", "--cnpj",
                           "44555666000181"},
                          Day(2009, 3, 19), [](RunProfiles& p) {
                              MemoryTable& t = *p.registros;
                              ASSERT_TRUE(t.Locate("CNPJ", std::string("44555666000181")));
                              EXPECT_EQ(t.FieldText("ENVIAR"), "S");
                              ASSERT_TRUE(t.Locate("CNPJ", std::string("11222333000181")));
                              EXPECT_EQ(t.FieldText("ENVIAR"), "N");
                          });
    EXPECT_TRUE(o.unknown.empty());
    EXPECT_EQ(Sent(), (std::vector<P>{{"44555666000181", "X.139"},
                                      {"77888999000181", "C.139"},
                                      {"77888999000181", "E.239"},
                                      {"77888999000181", "d.j39"}}));

    const RunProfiles unknown = LoadRunProfiles(*store, {"11222333000181", "99999999000191", "x"});
    EXPECT_EQ(unknown.unknown, (std::vector<std::string>{"99999999000191", "x"}));
}

TEST_F(LoteRunTest, AProfileUnmarkedInTheTableIsLeftOut)
{
    TwoProfiles();
    const Outcome o = Run({"--processamento", "--mes", "03/2009"}, Day(2009, 3, 19), [](RunProfiles& p) {
        MemoryTable& t = *p.registros;
        ASSERT_TRUE(t.Locate("CNPJ", std::string("11222333000181")));
        t.Edit();
        t.SetField("ENVIAR", "N");
        t.Post();
    });
    EXPECT_EQ(Sent(), (std::vector<P>{{"77888999000181", "C.139"},
                                      {"77888999000181", "E.239"},
                                      {"77888999000181", "d.j39"}}));
    EXPECT_EQ(o.exitStatus, 0);
}

TEST_F(LoteRunTest, PreviousMonthIsTheMonthBeforeToday)
{
    TwoProfiles();
    WriteFile("um", "Z.1C8", "dezembro de 2008");
    Run({"--processamento", "--mes", "anterior"}, Day(2009, 4, 2));
    EXPECT_EQ(Sent(), (std::vector<P>{{"11222333000181", "A.139"},
                                      {"11222333000181", "B.139"},
                                      {"77888999000181", "C.139"},
                                      {"77888999000181", "E.239"},
                                      {"77888999000181", "d.j39"}}));
    const auto before = service->Requests().size();
    Run({"--processamento", "--mes", "anterior"}, Day(2009, 1, 31));
    const auto requests = service->Requests();
    ASSERT_EQ(requests.size(), before + 1);
    EXPECT_EQ(requests.back().nomeArquivo, "Z.1C8");
}

TEST_F(LoteRunTest, SimulationListsAndSendsNothing)
{
    TwoProfiles();
    std::filesystem::create_directories(Files("tres") / "F.139");
    const Outcome o = Run({"--processamento", "--mes", "03/2009", "--simular"});
    EXPECT_TRUE(service->Requests().empty());
    EXPECT_FALSE(std::filesystem::exists(JournalFile()));
    EXPECT_EQ(o.out, "11222333000181 A.139: 15 bytes\n"
                     "11222333000181 B.139: 15 bytes\n"
                     "77888999000181 C.139: 10 bytes\n"
                     "77888999000181 E.239: 10 bytes\n"
                     "77888999000181 F.139: falha: não foi possível ler o arquivo " +
                         (Files("tres") / "F.139").string() +
                         ": é uma pasta, não um arquivo\n"
                         "77888999000181 d.j39: 10 bytes\n"
                         "5 arquivos a enviar, nada foi enviado\n");
    EXPECT_EQ(o.exitStatus, 2);
}

TEST_F(LoteRunTest, ARefusedFileIsJournaledAndTheRunGoesOn)
{
    TwoProfiles();
    service->SetFault({.result = "302|Arquivo vazio", .after = 1, .count = 1});
    const Outcome o = Run({"--processamento", "--mes", "03/2009", "--silencioso"});
    EXPECT_EQ(Sent().size(), 5u);
    EXPECT_EQ(o.out, "11222333000181 B.139: recusado: 302|Arquivo vazio\n"
                     "4 aceitos, 1 recusado, 0 falhas\n");
    EXPECT_EQ(o.exitStatus, 1);
    const auto journal = Journal();
    ASSERT_EQ(journal.size(), 5u);
    EXPECT_EQ(journal[1].situacao, "recusado");
    EXPECT_EQ(journal[1].resultado, "302|Arquivo vazio");
    EXPECT_EQ(o.results, 4);
}

// A file the service cannot take is a refusal, told once: it is not sent
// with the next profile's credentials either.
TEST_F(LoteRunTest, AFileWithAControlByteIsARefusalAndNotSent)
{
    TwoProfiles();
    WriteFile("um", "B.139", "um\r\nE14|\x1B[0m\r\n");
    const Outcome o = Run({"--processamento", "--mes", "03/2009", "--silencioso"});
    EXPECT_EQ(Sent().size(), 4u);
    EXPECT_EQ(o.out, "11222333000181 B.139: recusado: O arquivo B.139 contém o caractere de controle 0x1B na "
                     "linha 2, que o serviço não aceita.\n"
                     "4 aceitos, 1 recusado, 0 falhas\n");
    EXPECT_EQ(o.exitStatus, 1);
    const auto journal = Journal();
    ASSERT_EQ(journal.size(), 5u);
    EXPECT_EQ(journal[1].arquivo, "B.139");
    EXPECT_EQ(journal[1].situacao, "recusado");
    EXPECT_EQ(o.results, 4);
}

TEST_F(LoteRunTest, AFailureEndsOnlyThatProfilesPart)
{
    TwoProfiles();
    // A sub-folder matching the month is queued like a file and cannot be read.
    std::filesystem::create_directories(Files("tres") / "F.139");
    service->SetFault({.status = 404, .count = 1});
    const Outcome o = Run({"--processamento", "--mes", "03/2009"});
    const auto requests = service->Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].status, 404);
    EXPECT_NE(requests[0].body.find("<NomeArquivo>A.139</NomeArquivo>"), std::string::npos);
    EXPECT_EQ(Sent(), (std::vector<P>{{"", "?"}, {"77888999000181", "C.139"}, {"77888999000181", "E.239"}}));
    const std::string lines = o.out;
    EXPECT_NE(lines.find("11222333000181 A.139: falha: Not Found (404) - '" + service->Endpoint() + "'\n"
                         "11222333000181 B.139: não enviado\n"
                         "77888999000181 C.139: aceito, protocolo " + requests[1].issued + "\n"),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find("77888999000181 F.139: falha: não foi possível ler o arquivo " +
                         (Files("tres") / "F.139").string() + ": é uma pasta, não um arquivo\n"
                         "77888999000181 d.j39: não enviado\n"
                         "2 aceitos, 0 recusados, 2 falhas, 2 não enviados\n"),
              std::string::npos)
        << lines;
    EXPECT_EQ(o.err, "nfp-envio-lote: C.N.P.J. 11222333000181: o envio deste perfil parou na falha; 1 arquivo não "
                     "foi enviado.\n"
                     "nfp-envio-lote: C.N.P.J. 77888999000181: o envio deste perfil parou na falha; 1 arquivo não "
                     "foi enviado.\n");
    EXPECT_EQ(o.exitStatus, 2);
    // The failed exchange is in the journal; the unreadable folder is no exchange.
    const auto journal = Journal();
    ASSERT_EQ(journal.size(), 3u);
    EXPECT_EQ(journal[0].situacao, "falha");
    EXPECT_EQ(journal[0].arquivo, "A.139");
}

TEST_F(LoteRunTest, AMissingFolderIsAFailureAndTheOthersGoOn)
{
    TwoProfiles();
    std::filesystem::remove_all(Files("um"));
    const Outcome o = Run({"--processamento", "--mes", "03/2009"});
    EXPECT_EQ(Sent().size(), 3u);
    EXPECT_EQ(o.err, "nfp-envio-lote: C.N.P.J. 11222333000181: a pasta dos arquivos não existe ou não pode ser "
                     "lida: " + Files("um").string() + "/\n");
    EXPECT_EQ(o.exitStatus, 2);

    // A folder with nothing of the month is no failure: it is said, unless quiet.
    std::filesystem::create_directories(Files("um"));
    const Outcome empty = Run({"--processamento", "--mes", "03/2009", "--cnpj", "11222333000181"});
    EXPECT_EQ(empty.err, "nfp-envio-lote: C.N.P.J. 11222333000181: nenhum arquivo de 03/2009 em " +
                             Files("um").string() + "/\n");
    EXPECT_EQ(empty.out, "0 aceitos, 0 recusados, 0 falhas\n");
    EXPECT_EQ(empty.exitStatus, 0);
}

TEST_F(LoteRunTest, AStopIsTakenBetweenFiles)
{
    TwoProfiles();
    stopRequested = [this] { return !service->Requests().empty(); };
    const Outcome o = Run({"--processamento", "--mes", "03/2009"});
    EXPECT_TRUE(o.result.stopped);
    EXPECT_EQ(Sent(), (std::vector<P>{{"11222333000181", "A.139"}}));
    EXPECT_EQ(o.out, "11222333000181 A.139: aceito, protocolo " + service->Requests()[0].issued +
                         "\n11222333000181 B.139: não enviado\n"
                         "1 aceito, 0 recusados, 0 falhas, 1 não enviado\n");
    EXPECT_EQ(o.err, "nfp-envio-lote: C.N.P.J. 11222333000181: envio interrompido; 1 arquivo não foi enviado.\n");
    EXPECT_EQ(Journal().size(), 1u);
}

} // namespace
} // namespace nfp::test
