// Layout of the sending summary on the report grid.
#include <gtest/gtest.h>

#include "report/layouts/sending_summary.h"
#include "report_test_support.h"
#include "util/silent_abort.h"
#include "util/table_layouts.h"

using namespace nfp;
using namespace nfp::test;
using namespace std::chrono;

namespace {

using Placed = PlacedText;

struct Summary {
    TRelGrade rel;
    RecordingMessages messages;
    std::vector<Placed> placed;
    int newPages = 0;
    Summary() {
        ConfigureSendingSummaryEngine(rel);
        rel.services.messages = &messages;
        rel.OnNewPage = [this](TRelGrade&, int) { ++newPages; };
    }
    void LayOut(const std::vector<SummaryRow>& rows) {
        LayOutSendingSummary(rel, rows, "10/12/2026, quinta-feira");
        placed = PlacedTexts(rel);
        rel.Abortar();
    }
    // The items of one page below the header.
    std::vector<Placed> Body(int page) const {
        std::vector<Placed> out;
        for (const auto& p : placed)
            if (p.page == page && p.line > 5) out.push_back(p);
        return out;
    }
};

const std::string Dashes(95, '-');
std::string Slice(char c) { return std::string(80, c); }

} // namespace

TEST(SendingSummary, ComponentSettings) {
    TRelGrade rel;
    ConfigureSendingSummaryEngine(rel);
    EXPECT_EQ(rel.TamanhoQteLinhas, 88);
    EXPECT_EQ(rel.TamanhoQteColunas, 96);
    EXPECT_EQ(rel.TamanhoQteLPP, TLinha::Oito);
    EXPECT_EQ(rel.FonteTamanhoPadrao, TSize::S12cpp);
    EXPECT_EQ(rel.CaptionSetup, "Setup da Impressora...");
    EXPECT_TRUE(rel.OpcoesPreview.Preview);
    EXPECT_TRUE(rel.OpcoesPreview.PaginaZebrada);
    EXPECT_TRUE(rel.OpcoesPreview.Remalina);
    EXPECT_EQ(rel.OpcoesPreview.PreviewZoom, -1);
    EXPECT_TRUE(rel.UsaGerenciadorImpr);
    EXPECT_EQ(rel.Impressora, TModelo::Epson);
}

TEST(SendingSummary, HeaderOfEveryPage) {
    Summary s;
    s.LayOut({{"A.TXT", "/dados", "ok"}});
    const std::vector<Placed> header = {
        {1, 1, 1, Dashes},
        {1, 2, 1, "Resumo do Envio das Notas Fiscais Paulista, emissão: 10/12/2026, quinta-feira"},
        {1, 2, 88, "Pag:"},
        {1, 2, 93, "  1"},
        {1, 3, 1, "Arquivo:      Caminho:"},
        {1, 4, 1, "              Resultado:"},
        {1, 5, 1, Dashes},
    };
    EXPECT_EQ(std::vector<Placed>(s.placed.begin(), s.placed.begin() + 7), header);
    EXPECT_EQ(SummaryIssueDate(2026y / 12 / 10, RegionalSettings::Brazilian()), "10/12/2026, quinta-feira");
}

TEST(SendingSummary, RowLayouts) {
    struct Case { const char* name; std::vector<SummaryRow> rows; std::vector<Placed> body; };
    const Case cases[] = {
        {"one record on lines 6 to 8", {{"A.TXT", "/dados", "Arquivo recebido"}},
         {{1, 6, 1, "A.TXT"}, {1, 6, 15, "/dados"}, {1, 7, 15, "Arquivo recebido"}, {1, 8, 1, Dashes}}},
        {"a blank reply takes one line",
         {{"A.TXT", "/a", "   "}, {"B.TXT", "/b", "ok"}},
         {{1, 6, 1, "A.TXT"}, {1, 6, 15, "/a"}, {1, 7, 1, "B.TXT"}, {1, 7, 15, "/b"}, {1, 8, 15, "ok"},
          {1, 9, 1, Dashes}}},
        {"blank middle slices are skipped",
         {{"A.TXT", "/a", Slice('x') + Slice(' ') + "  tres  "}},
         {{1, 6, 1, "A.TXT"}, {1, 6, 15, "/a"}, {1, 7, 15, Slice('x')}, {1, 8, 15, "  tres  "}, {1, 9, 1, Dashes}}},
        {"slices count characters, not bytes",
         {{"A.TXT", "/a", std::string(79, 'a') + "ção"}},
         {{1, 6, 1, "A.TXT"}, {1, 6, 15, "/a"}, {1, 7, 15, std::string(79, 'a') + "ç"}, {1, 8, 15, "ão"},
          {1, 9, 1, Dashes}}},
    };
    for (const auto& c : cases) {
        Summary s;
        s.LayOut(c.rows);
        EXPECT_EQ(s.Body(1), c.body) << c.name;
        EXPECT_EQ(s.newPages, 1) << c.name; // Abrir only
    }
}

TEST(SendingSummary, RecordStartingOnLine85RunsTo91AndTheNextStartsAPage) {
    std::vector<SummaryRow> rows(79, SummaryRow{"VAZIO.TXT", "/v", ""});
    std::string six;
    for (char c : std::string("abcdef")) six += Slice(c);
    rows.push_back({"LONGO.TXT", "/l", six});
    rows.push_back({"PROX.TXT", "/p", "fim"});
    Summary s;
    s.LayOut(rows);
    const auto body1 = s.Body(1);
    ASSERT_GE(body1.size(), 8u);
    const std::vector<Placed> tail(body1.end() - 8, body1.end());
    EXPECT_EQ(tail, (std::vector<Placed>{{1, 85, 1, "LONGO.TXT"}, {1, 85, 15, "/l"}, {1, 86, 15, Slice('a')},
                                         {1, 87, 15, Slice('b')}, {1, 88, 15, Slice('c')}, {1, 89, 15, Slice('d')},
                                         {1, 90, 15, Slice('e')}, {1, 91, 15, Slice('f')}}));
    EXPECT_EQ(s.Body(2), (std::vector<Placed>{{2, 6, 1, "PROX.TXT"}, {2, 6, 15, "/p"}, {2, 7, 15, "fim"},
                                              {2, 8, 1, Dashes}}));
    EXPECT_EQ(s.newPages, 2); // Abrir, then one NovaPagina
    const auto page2Number = std::find(s.placed.begin(), s.placed.end(), Placed{2, 2, 93, "  2"});
    EXPECT_NE(page2Number, s.placed.end());
}

TEST(SendingSummary, ClosingDashLineBeyondThePageStaysOnIt) {
    std::vector<SummaryRow> rows(79, SummaryRow{"VAZIO.TXT", "/v", ""});
    rows.push_back({"ULTIMO.TXT", "/u", "a"});
    Summary s;
    s.LayOut(rows);
    EXPECT_EQ(s.placed.back(), (Placed{1, 87, 1, Dashes}));
    EXPECT_EQ(s.newPages, 1);
}

TEST(SendingSummary, FourDigitPageNumbers) {
    // Twelve records of seven lines fill a page.
    std::string six;
    for (char c : std::string("abcdef")) six += Slice(c);
    const std::vector<SummaryRow> rows(12 * 999 + 1, SummaryRow{"X.TXT", "/x", six});
    Summary s;
    s.LayOut(rows);
    EXPECT_EQ(s.newPages, 1000);
    EXPECT_NE(std::find(s.placed.begin(), s.placed.end(), Placed{1000, 2, 93, "1000"}), s.placed.end());
    EXPECT_NE(std::find(s.placed.begin(), s.placed.end(), Placed{999, 2, 93, "999"}), s.placed.end());
}

TEST(SendingSummary, EmptyResultsEndSilently) {
    MemoryTable results(ResultsLayout());
    Summary s;
    EXPECT_THROW(PrintSendingSummary(s.rel, results, 2026y / 12 / 10, RegionalSettings::Brazilian()), SilentAbort);
    EXPECT_FALSE(s.rel.IsOpen());
    EXPECT_TRUE(s.messages.shown.empty());
}

TEST(SendingSummary, PrintsTheResultsTableInItsOrderAndCloses) {
    MemoryTable results(ResultsLayout());
    for (const char* name : {"C.TXT", "A.TXT", "B.TXT"}) {
        results.Append();
        results.SetField("Arquivo", name);
        results.SetField("Caminho", "/home/loja");
        results.SetField("Protocolo", "123456789");
        results.SetField("Resultado", std::string("Recebido ") + name);
        results.Post();
    }
    results.First();
    Summary s;
    std::vector<std::string> previewed;
    s.rel.OnPreview = [&](TRelGrade& r) { previewed = r.Store()->Items(); };
    PrintSendingSummary(s.rel, results, 2026y / 12 / 10, RegionalSettings::Brazilian());
    EXPECT_FALSE(s.rel.IsOpen());
    EXPECT_EQ(results.CurrentRow(), 0); // the grid's row stays where it was
    std::vector<std::string> files;
    for (const auto& item : previewed)
        if (item.substr(7, 3) == "001" && item.substr(4, 3) > "005") files.push_back(item.substr(20));
    EXPECT_EQ(files, (std::vector<std::string>{"A.TXT", "B.TXT", "C.TXT", Dashes}));
}
