// Saving the open report as files and loading saved reports, with real files
// in private temporary folders.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "report/print/cups_spooler_route.h"
#include "report/files/report_file_saver.h"
#include "report/files/saved_report.h"
#include "saved_report_lines.h"
#include "saved_report_test_support.h"

using namespace nfp;
using namespace nfp::test;

namespace {

std::vector<std::string> Items(const TRelGrade& rel) { return rel.Store()->Items(); }

// Two pages with texts in several colours, fonts and kinds of text.
void WriteColouredReport(TRelGrade& rel) {
    ASSERT_TRUE(rel.Abrir());
    rel.Imp(1, 1, "Relatório de envio", clBlack);
    rel.Imp(1, 40, "&PAGE&", clRed);
    rel.ImpF(3, 5, "Protocolo", 1 | SizeBit(TSize::S12cpp), clBlue);
    rel.ImpF(3, 5, "outra no mesmo lugar", 4, 0x12AB9F);
    rel.NovaPagina();
    rel.Imp(2, 2, "Ação concluída", clGreen);
    rel.ImpNum(4, 10, "##0", 7, 0, clSilver);
}

} // namespace

TEST(ReportFiles, SavedAndLoadedAgainGivesTheSameReport) {
    TempDir dir;
    FileEngine e;
    e.rel.TitulodoRelatorio = "Relatório Ação";
    e.rel.TamanhoQteLinhas = 70;
    e.rel.TamanhoQteColunas = 100;
    e.rel.TamanhoQteLPP = TLinha::Oito;
    e.rel.FonteTamanhoPadrao = TSize::S12cpp;
    e.rel.FonteEstiloPadrao = {TEstilo::Snegrito};
    WriteColouredReport(e.rel);
    const std::vector<std::string> saved = Items(e.rel);
    ASSERT_EQ(saved.size(), 6u);

    const std::string file = dir.File("envio.RGR");
    ASSERT_TRUE(SaveReport(e.rel, dir.File("envio"), SaveFileType::Relatorio));
    EXPECT_TRUE(e.messages.shown.empty());
    EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"envio.RGR"});
    const std::string bytes = ReadAll(file);
    EXPECT_EQ(bytes.substr(0, bytes.find("\r\n0001001") + 2),
              Lines({V4, Notice, "000006", "Relat\xF3rio A\xE7\xE3o", "000070", "000100", "8", "F12", "N"}));
    EXPECT_NE(bytes.find("0002002002034T008000A\xE7\xE3o conclu\xED" "da" + CRLF), std::string::npos);
    ASSERT_EQ(e.progress.windows.size(), 1u);
    EXPECT_EQ(e.progress.windows[0].caption, "Gravando...");
    EXPECT_EQ(e.progress.windows[0].label, file);
    EXPECT_EQ(e.progress.windows[0].maximum, 6);
    EXPECT_EQ(e.progress.windows[0].steps, 6);
    EXPECT_TRUE(e.progress.windows[0].shown && e.progress.windows[0].closed);

    // Another report in the engine, other settings: the load brings the
    // saved one back whole.
    e.rel.Imp(9, 9, "não salvo");
    e.rel.TitulodoRelatorio = "outro";
    e.rel.TamanhoQteLinhas = 66;
    e.rel.TamanhoQteColunas = 80;
    e.rel.TamanhoQteLPP = TLinha::Seis;
    e.rel.FonteTamanhoPadrao = TSize::S10cpp;
    e.rel.FonteEstiloPadrao = {};
    ASSERT_TRUE(LoadReportFile(e.rel, file));
    EXPECT_TRUE(e.messages.shown.empty());
    EXPECT_EQ(Items(e.rel), saved);
    EXPECT_EQ(e.rel.TotalPaginas(), 2);
    EXPECT_EQ(e.rel.TitulodoRelatorio, "Relatório Ação");
    EXPECT_EQ(e.rel.TamanhoQteLinhas, 70);
    EXPECT_EQ(e.rel.TamanhoQteColunas, 100);
    EXPECT_EQ(e.rel.TamanhoQteLPP, TLinha::Oito);
    EXPECT_EQ(e.rel.FonteTamanhoPadrao, TSize::S12cpp);
    EXPECT_EQ(e.rel.FonteEstiloPadrao, TStyle{TEstilo::Snegrito});
    // The printer model is prepared for the loaded page: 70 lines at 8 lpi.
    EXPECT_EQ(e.rel.State().table[Slot::PageLength], "\x1B" "C" "\x46");
    EXPECT_EQ(e.rel.State().table[Slot::LineSpacing], "\x1B" "0");
    EXPECT_EQ(e.rel.State().font.flags, SizeBit(TSize::S12cpp) | 1);
    ASSERT_EQ(e.progress.windows.size(), 2u);
    EXPECT_EQ(e.progress.windows[1].caption, "Lendo...");
    EXPECT_EQ(e.progress.windows[1].label, file);
    EXPECT_EQ(e.progress.windows[1].maximum, 6);
    EXPECT_TRUE(e.progress.windows[1].closed);

    // Saved again, the file is byte for byte the same.
    ASSERT_TRUE(SaveAsReportFile(e.rel, dir.File("again.RGR")));
    EXPECT_EQ(ReadAll(dir.File("again.RGR")), bytes);
    e.rel.Abortar();
}

TEST(ReportFiles, VersionThreeFileLoadsWithBlackItems) {
    TempDir dir;
    FileEngine e;
    ASSERT_TRUE(e.rel.Abrir());
    e.rel.Imp(1, 1, "atual", clRed);
    const std::string file = dir.File("antigo.RGR");
    WriteFile(file, Lines({V3, Notice, "000003", "Antigo", "000066", "000080", "6", "F10", "", "0001001001016TOl\xE1",
                           "0001002004018Tnegrito", "0002001001016Tfim"}));
    ASSERT_TRUE(LoadReportFile(e.rel, file));
    EXPECT_TRUE(e.messages.shown.empty());
    EXPECT_EQ(Items(e.rel), (std::vector<std::string>{"0001001001016T000000Olá", "0001002004018T000000negrito",
                                                       "0002001001016T000000fim"}));
    EXPECT_EQ(e.rel.TitulodoRelatorio, "Antigo");
    e.rel.Abortar();
}

TEST(ReportFiles, FilesThatDoNotLoad) {
    struct Case {
        const char* name;
        std::string bytes; // nothing written when empty; "/" makes a folder
        std::string message;
    };
    const Case cases[] = {
        {"wrong header", Lines({"<< RelGrade 4.0 >>", Notice, "000001", "T", "000066", "000080", "6", "F10", "",
                                "0001001001016T000000x"}),
         "Formato do arquivo é inválido..."},
        {"count not a number", Lines({V4, Notice, "um", "T", "000066", "000080", "6", "F10", ""}),
         "Formato do arquivo é inválido..."},
        {"no such file", "", "Erro na abertura do arquivo...\r\rArquivo: "},
        {"a folder", "/", "Erro na abertura do arquivo...\r\rArquivo: "},
    };
    for (const Case& c : cases) {
        TempDir dir;
        FileEngine e;
        e.rel.TitulodoRelatorio = "meu";
        ASSERT_TRUE(e.rel.Abrir());
        e.rel.Imp(1, 1, "fica");
        const std::string file = dir.File("x.RGR");
        const bool named = c.bytes.empty() || c.bytes == "/";
        if (c.bytes == "/") std::filesystem::create_directory(file);
        else if (!c.bytes.empty()) WriteFile(file, c.bytes);
        EXPECT_FALSE(LoadReportFile(e.rel, file)) << c.name;
        const std::string expected = named ? c.message + file : c.message;
        EXPECT_EQ(e.messages.shown, std::vector<std::string>{expected}) << c.name;
        EXPECT_EQ(Items(e.rel), std::vector<std::string>{"0001001001016T000000fica"}) << c.name;
        EXPECT_EQ(e.rel.TitulodoRelatorio, "meu") << c.name;
        e.rel.Abortar();
    }
}

TEST(ReportFiles, WrongCountIsReportedAndTheItemsStayLoaded) {
    TempDir dir;
    FileEngine e;
    ASSERT_TRUE(e.rel.Abrir());
    e.rel.Imp(1, 1, "antes");
    const std::string file = dir.File("curto.RGR");
    WriteFile(file, Lines({V4, Notice, "000005", "Curto", "000066", "000080", "6", "F10", "",
                           "0001001001016T000000um", "0001002001016TFF0000dois"}));
    EXPECT_TRUE(LoadReportFile(e.rel, file));
    EXPECT_EQ(e.messages.shown, std::vector<std::string>{"RelGrade: Erro no controle, relatório pode causar erro"});
    EXPECT_EQ(Items(e.rel), (std::vector<std::string>{"0001001001016T000000um", "0001002001016TFF0000dois"}));
    EXPECT_EQ(e.rel.TitulodoRelatorio, "Curto");
    e.rel.Abortar();
}

TEST(ReportFiles, CancelledLoadKeepsTheOpenReport) {
    TempDir dir;
    FileEngine e;
    int cancels = 0;
    e.rel.OnCancel = [&](TRelGrade&) { ++cancels; };
    e.rel.TitulodoRelatorio = "meu";
    ASSERT_TRUE(e.rel.Abrir());
    e.rel.Imp(1, 1, "fica");
    const std::string file = dir.File("x.RGR");
    WriteFile(file, Lines({V4, Notice, "000003", "Outro", "000050", "000040", "8", "F17", "I",
                           "0001001001016T000000a", "0001002001016T000000b", "0001003001016T000000c"}));
    e.progress.cancelAtStep = 2;
    EXPECT_FALSE(LoadReportFile(e.rel, file));
    EXPECT_EQ(cancels, 1);
    EXPECT_TRUE(e.messages.shown.empty());
    EXPECT_EQ(Items(e.rel), std::vector<std::string>{"0001001001016T000000fica"});
    EXPECT_EQ(e.rel.TitulodoRelatorio, "meu");
    EXPECT_EQ(e.rel.TamanhoQteLinhas, 66);
    EXPECT_TRUE(e.progress.windows.at(0).closed);
    e.rel.Abortar();
}

TEST(ReportFiles, PlainTextPadsEveryPageToItsLines) {
    TempDir dir;
    FileEngine e;
    e.rel.Acentuacao = TAcento::SemAcento;
    ASSERT_TRUE(e.rel.Abrir());
    e.rel.Imp(1, 1, "Título");
    e.rel.ImpF(3, 5, "x", SizeBit(TSize::S05cpp)); // expanded: still one position a character
    e.rel.Imp(10, 2, "fim");
    e.rel.NovaPagina();
    e.rel.Imp(2, 3, "p2 de &PAGE&");
    ASSERT_TRUE(SaveReport(e.rel, dir.File("rel.RGR"), SaveFileType::Texto));
    EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"rel.TXT"});

    std::string expected = "Titulo" + CRLF + CRLF + "    x" + CRLF;
    for (int line = 4; line <= 9; ++line) expected += CRLF;
    expected += " fim" + CRLF;
    for (int line = 11; line <= 66; ++line) expected += CRLF;
    expected += CRLF + "  p2 de 2" + CRLF;
    const std::string text = ReadAll(dir.File("rel.TXT"));
    EXPECT_EQ(text, expected);
    EXPECT_EQ(text.find('\f'), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 68);
    ASSERT_EQ(e.progress.windows.size(), 1u);
    EXPECT_EQ(e.progress.windows[0].caption, "Gravando...");
    EXPECT_EQ(e.progress.windows[0].maximum, 4);
    e.rel.Abortar();
}

TEST(ReportFiles, PlainTextLinesAsATextPrinterGetsThem) {
    struct Case {
        const char* name;
        TAcento acento;
        TModelo model;
        std::string expected;
    };
    // Page 1, line 1: "Ação" at 1, "XY" at 3 over it, a control item at 8,
    // box codes at 9.
    const Case cases[] = {
        {"accents removed", TAcento::SemAcento, TModelo::Epson, "AcXY    \xC9\xCD\xBB"},
        {"Rima always removes them", TAcento::Transliterate, TModelo::Rima, "AcXY    \xC9\xCD\xBB"},
        {"printer code page", TAcento::Transliterate, TModelo::Epson, "A\x87XY    \xC9\xCD\xBB"},
        {"graphic model keeps Windows-1252", TAcento::Transliterate, TModelo::Grafico, "A\xE7XY    \xC9\xCD\xBB"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        FileEngine e;
        e.rel.Acentuacao = c.acento;
        e.rel.Impressora = c.model;
        ASSERT_TRUE(e.rel.Abrir());
        e.rel.Imp(1, 1, "Ação");
        e.rel.Imp(1, 3, "XY");
        e.rel.MutableState().store->Add("0001001008016C00000027 69");
        e.rel.MutableState().store->Add("0001001009016B000000A=B");
        e.rel.TamanhoQteLinhas = 2;
        ASSERT_TRUE(SaveAsPlainText(e.rel, dir.File("t.TXT"))) << c.name;
        EXPECT_EQ(ReadAll(dir.File("t.TXT")), c.expected + CRLF) << c.name;
        e.rel.Abortar();
    }
}

TEST(ReportFiles, NamesTakeTheExtensionOfTheChosenType) {
    struct Case {
        const char* chosen;
        SaveFileType type;
        const char* name;
    };
    const Case cases[] = {
        {"/r/envio.RGR", SaveFileType::Relatorio, "/r/envio.RGR"},
        {"/r/envio.RGR", SaveFileType::Texto, "/r/envio.TXT"},
        {"/r/envio.RGR", SaveFileType::Impressao, "/r/envio.PRN"},
        {"/r/envio.rgr", SaveFileType::Relatorio, "/r/envio.rgr"},
        {"/r/envio", SaveFileType::Relatorio, "/r/envio.RGR"},
        {"/r/envio.", SaveFileType::Texto, "/r/envio.TXT"},
        {"/r/envio.tar.gz", SaveFileType::Texto, "/r/envio.tar.TXT"},
        {"/r.d/envio", SaveFileType::Impressao, "/r.d/envio.PRN"},
        {"envio.txt", SaveFileType::Texto, "envio.txt"},
        {"/r/envio.RGR", SaveFileType::Pdf, "/r/envio.PDF"},
        {"/r/resumo.pdf", SaveFileType::Pdf, "/r/resumo.pdf"},
    };
    for (const Case& c : cases) EXPECT_EQ(SaveFileName(c.chosen, c.type), c.name) << c.chosen;

    // A report saved before under .RGR is replaced by the report type and
    // kept by the text type.
    TempDir dir;
    FileEngine e;
    ASSERT_TRUE(e.rel.Abrir());
    e.rel.Imp(1, 1, "novo");
    const std::string rgr = dir.File("envio.RGR");
    WriteFile(rgr, "antigo");
    ASSERT_TRUE(SaveReport(e.rel, rgr, SaveFileType::Relatorio));
    EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"envio.RGR"});
    const std::string saved = ReadAll(rgr);
    EXPECT_EQ(saved.rfind(V4, 0), 0u);
    ASSERT_TRUE(SaveReport(e.rel, rgr, SaveFileType::Texto));
    EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"envio.RGR", "envio.TXT"}));
    EXPECT_EQ(ReadAll(rgr), saved);
    EXPECT_EQ(ReadAll(dir.File("envio.TXT")), "novo" + CRLF);
    e.rel.Abortar();
}

TEST(ReportFiles, FailedOrCancelledSaveLeavesTheFolderAsItWas) {
    struct Case {
        const char* name;
        SaveFileType type;
        std::string chosen;     // inside the folder
        std::function<void(FileEngine&)> arrange;
        std::string message;    // followed by the name for the file messages
        bool messageNamesFile;
        int cancels; // OnCancel; -1: the print job's own affair
    };
    const std::string old = "relatório salvo antes";
    const Case cases[] = {
        {"report cancelled", SaveFileType::Relatorio, "envio.RGR",
         [](FileEngine& e) { e.progress.cancelAtStep = 3; }, "", false, 1},
        {"text cancelled", SaveFileType::Texto, "envio.TXT",
         [](FileEngine& e) { e.progress.cancelAtStep = 2; }, "", false, 1},
        {"printer data cancelled", SaveFileType::Impressao, "envio.PRN",
         [](FileEngine& e) {
             e.rel.MostrarProgresso = true;
             e.progress.cancelAtStep = 1;
         },
         "", false, -1},
        {"name is a folder", SaveFileType::Relatorio, "pasta.RGR", {}, kMsgErroGravacao, true, 0},
        {"folder missing", SaveFileType::Relatorio, "falta/envio.RGR", {}, kMsgErroAbertura, true, 0},
        {"graphic model to printer data", SaveFileType::Impressao, "envio.PRN",
         [](FileEngine& e) { e.rel.Impressora = TModelo::Grafico; }, kMsgModoGrafico, false, 0},
        {"OnSave empties the name", SaveFileType::Relatorio, "envio.RGR",
         [](FileEngine& e) { e.rel.OnSave = [](TRelGrade&, std::string& name) { name.clear(); }; }, "", false, 0},
    };
    for (const Case& c : cases) {
        TempDir dir;
        FileEngine e;
        int cancels = 0;
        e.rel.OnCancel = [&](TRelGrade&) { ++cancels; };
        for (const char* f : {"envio.RGR", "envio.TXT", "envio.PRN"}) WriteFile(dir.File(f), old);
        std::filesystem::create_directory(dir.path() / "pasta.RGR");
        WriteFile(dir.File("pasta.RGR/dentro"), old);
        const auto before = Listing(dir.path());
        if (c.arrange) c.arrange(e);
        WriteColouredReport(e.rel);
        const std::string chosen = dir.File(c.chosen);

        EXPECT_FALSE(SaveReport(e.rel, chosen, c.type)) << c.name;
        EXPECT_EQ(Listing(dir.path()), before) << c.name;
        for (const char* f : {"envio.RGR", "envio.TXT", "envio.PRN", "pasta.RGR/dentro"})
            EXPECT_EQ(ReadAll(dir.File(f)), old) << c.name << " " << f;
        if (c.cancels >= 0) {
            EXPECT_EQ(cancels, c.cancels) << c.name;
        }
        const std::vector<std::string> shown =
            c.message.empty() ? std::vector<std::string>{}
                              : std::vector<std::string>{c.messageNamesFile ? c.message + chosen : c.message};
        EXPECT_EQ(e.messages.shown, shown) << c.name;
        for (const auto& w : e.progress.windows) EXPECT_TRUE(w.closed) << c.name;
        e.rel.Abortar();
    }
}

TEST(ReportFiles, SaveIntoAFolderWithoutWritePermission) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    TempDir dir;
    const std::string file = dir.File("envio.RGR");
    WriteFile(file, "antigo");
    ::chmod(dir.path().c_str(), 0555);
    FileEngine e;
    WriteColouredReport(e.rel);
    EXPECT_FALSE(SaveAsReportFile(e.rel, file));
    EXPECT_EQ(e.messages.shown, std::vector<std::string>{kMsgErroAbertura + file});
    EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"envio.RGR"});
    EXPECT_EQ(ReadAll(file), "antigo");
    ::chmod(dir.path().c_str(), 0755);
    e.rel.Abortar();
}

TEST(ReportFiles, PrinterDataIsThePrintJobInAFile) {
    struct Case {
        const char* name;
        bool spooler;
    };
    for (const Case c : {Case{"direct route", false}, Case{"spooler route", true}}) {
        TempDir dir;
        FileEngine e;
        CupsSpoolerRoute cups;
        e.rel.services.spooler = &cups;
        e.rel.UsaGerenciadorImpr = c.spooler;
        int printEvents = 0;
        e.rel.OnBeforePrint = [&](TRelGrade&, bool&) { ++printEvents; };
        e.rel.OnAfterPrint = [&](TRelGrade&) { ++printEvents; };
        WriteColouredReport(e.rel);
        e.rel.MutableState().copies = 2;
        e.rel.MutableState().pageSelection = "2,1";

        ASSERT_TRUE(SaveReport(e.rel, dir.File("job"), SaveFileType::Impressao)) << c.name;
        EXPECT_TRUE(e.messages.shown.empty()) << c.name;
        EXPECT_EQ(printEvents, 0) << c.name;
        EXPECT_EQ(e.rel.PortaComunicacao, "/dev/null") << c.name;
        EXPECT_EQ(e.rel.State().copies, 2) << c.name;
        EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"job.PRN"}) << c.name;

        // The same job printed straight into a file by the engine.
        e.rel.ImprimirRelatorio(dir.File("direct.bin"));
        const std::string expected = ReadAll(dir.File("direct.bin"));
        const std::string saved = ReadAll(dir.File("job.PRN"));
        EXPECT_EQ(saved, expected) << c.name;
        EXPECT_EQ(saved.rfind("\x1B" "2", 0), 0u) << c.name;
        EXPECT_NE(saved.find("Relat\xA2rio"), std::string::npos) << c.name; // code page 850
        e.rel.Abortar();
    }
}

TEST(ReportFiles, SaveClosesTheOpenPageOnceAndOnSaveMayRename) {
    TempDir dir;
    FileEngine e;
    std::vector<int> closedPages;
    e.rel.OnBeforeNewPage = [&](TRelGrade&, int page) { closedPages.push_back(page); };
    const std::string renamed = dir.File("outro.RGR");
    e.rel.OnSave = [&](TRelGrade&, std::string& name) { name = renamed; };
    WriteColouredReport(e.rel);
    closedPages.clear();
    ASSERT_TRUE(SaveAsReportFile(e.rel, dir.File("envio.RGR")));
    ASSERT_TRUE(SaveAsPlainText(e.rel, dir.File("envio.TXT")));
    EXPECT_EQ(closedPages, std::vector<int>{2});
    EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"outro.RGR"});
    // The second save, plain text, replaced the first under the new name.
    EXPECT_EQ(ReadAll(renamed).rfind("Relat\xA2rio de envio", 0), 0u);
    e.rel.Abortar();
}

TEST(ReportFiles, LoadingFollowsOnLoad) {
    TempDir dir;
    FileEngine e;
    ASSERT_TRUE(e.rel.Abrir());
    e.rel.Imp(1, 1, "fica");
    const std::string real = dir.File("real.RGR");
    WriteFile(real, Lines({V4, Notice, "000001", "Real", "000066", "000080", "6", "F10", "", "0001001001016T000000r"}));
    e.rel.OnLoad = [&](TRelGrade&, std::string& name) { name.clear(); };
    EXPECT_FALSE(LoadReportFile(e.rel, real));
    EXPECT_EQ(Items(e.rel), std::vector<std::string>{"0001001001016T000000fica"});
    e.rel.OnLoad = [&](TRelGrade&, std::string& name) { name = real; };
    EXPECT_TRUE(LoadReportFile(e.rel, dir.File("pedido.RGR")));
    EXPECT_EQ(Items(e.rel), std::vector<std::string>{"0001001001016T000000r"});
    e.rel.Abortar();
}

TEST(ReportFiles, ReplacedFileKeepsItsPermissionsAndItsLink) {
    TempDir dir;
    FileEngine e;
    ASSERT_TRUE(e.rel.Abrir());
    e.rel.Imp(1, 1, "novo");
    const std::string real = dir.File("real.RGR");
    WriteFile(real, "antigo");
    std::filesystem::permissions(real, std::filesystem::perms(0640));
    std::filesystem::create_symlink("real.RGR", dir.path() / "atalho.RGR");

    ASSERT_TRUE(SaveAsReportFile(e.rel, dir.File("atalho.RGR")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "atalho.RGR"));
    EXPECT_EQ(ReadAll(real).rfind(V4, 0), 0u);
    EXPECT_EQ(std::filesystem::status(real).permissions() & std::filesystem::perms::all, std::filesystem::perms(0640));
    EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"atalho.RGR", "real.RGR"}));
    e.rel.Abortar();
}
