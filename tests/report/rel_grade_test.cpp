// The report engine's store, limits, numbers, macros, errors and page order.
#include <gtest/gtest.h>

#include "report/engine/number_mask.h"
#include "report/engine/page_selection.h"
#include "report/engine/page_store.h"

#include <algorithm>
#include <random>
#include "report_test_support.h"
#include "report_windows_fixtures.h"

using namespace nfp;
using namespace nfp::test;

namespace {

struct Engine {
    TRelGrade rel;
    RecordingMessages messages;
    Engine() { rel.services.messages = &messages; }
};

std::vector<std::string> StoreItems(const TRelGrade& rel) { return rel.Store()->Items(); }

} // namespace

TEST(RelGrade, DefaultsOfANewComponent) {
    const TRelGrade rel;
    EXPECT_EQ(rel.Impressora, TModelo::Epson);
    EXPECT_TRUE(rel.UsaGerenciadorImpr);
    EXPECT_EQ(rel.Mapeamento.size(), 38u);
    EXPECT_EQ(rel.TamanhoQteLinhas, 66);
    EXPECT_EQ(rel.TamanhoQteColunas, 80);
    EXPECT_EQ(rel.TamanhoQteLPP, TLinha::Seis);
    EXPECT_EQ(rel.FonteTamanhoPadrao, TSize::S10cpp);
    EXPECT_TRUE(rel.FonteEstiloPadrao.Empty());
    EXPECT_EQ(rel.Margens.Left + rel.Margens.Right + rel.Margens.Top + rel.Margens.Bottom, 40);
    EXPECT_EQ(rel.TitulodoRelatorio, "Gerado por RelGrade");
    EXPECT_EQ(rel.CaptionSetup, "RelGrade Setup");
    EXPECT_EQ(rel.OpcoesPreview.CaptionPreview, "RelGrade Preview");
    EXPECT_EQ(rel.OpcoesPreview.PreviewZoom, 100);
    EXPECT_FALSE(rel.OpcoesPreview.Preview);
    EXPECT_EQ(rel.CorForm, clBtnFace);
    EXPECT_EQ(rel.ImpressoraPersonalizada.Reset, "27 80 18 20 27 53 27 70 27 45 48");
    EXPECT_EQ(static_cast<int>(TModelo::Bobina), 5);
    EXPECT_EQ(static_cast<int>(TModelo::Grafico), 3);
}

TEST(RelGrade, PreviewOptionsAssignCopiesOnlyThePaperLook) {
    TPreviewOptions a, b;
    b.PaginaZebrada = b.Remalina = b.Preview = true;
    b.PreviewZoom = -1;
    a.Assign(b);
    EXPECT_TRUE(a.PaginaZebrada);
    EXPECT_TRUE(a.Remalina);
    EXPECT_FALSE(a.Preview);
    EXPECT_EQ(a.PreviewZoom, 100);
}

TEST(RelGrade, ItemLayoutAndFontCode) {
    Engine e;
    ASSERT_TRUE(e.rel.Abrir());
    EXPECT_TRUE(e.rel.ImpF(5, 12, "Olá", 1 | 4 | SizeBit(TSize::S12cpp), 0x12AB9F));
    EXPECT_TRUE(e.rel.Imp(2, 1, "x"));
    EXPECT_EQ(StoreItems(e.rel), (std::vector<std::string>{"0001002001016T000000x", "0001005012038T12AB9FOlá"}));
    e.rel.Abortar();
}

TEST(RelGrade, StoreOrderIgnoresCaseAndKeepsEqualEntries) {
    PageStore store;
    for (const char* s : {"0002001001016T000000b", "0001001001016T000000B", "0001001001016T000000a",
                          "0001001001016T000000A", "0001010001016T000000z", "0001001001016T000000b"})
        store.Add(s);
    EXPECT_EQ(store.Size(), 6u);
    EXPECT_EQ(store.Items(), (std::vector<std::string>{"0001001001016T000000A", "0001001001016T000000a",
                                                       "0001001001016T000000b", "0001001001016T000000B",
                                                       "0001010001016T000000z", "0002001001016T000000b"}));
    EXPECT_EQ(store.ItemsOfPage(2), (std::vector<std::string>{"0002001001016T000000b"}));
    EXPECT_TRUE(store.ItemsOfPage(3).empty());
}

TEST(RelGrade, PositionLimits) {
    Engine e;
    std::vector<std::string> errors;
    ASSERT_TRUE(e.rel.Abrir());
    EXPECT_TRUE(e.rel.Imp(999, 1, "a"));
    EXPECT_FALSE(e.rel.Imp(1000, 1, "b")); // silent without OnErro
    EXPECT_TRUE(e.messages.shown.empty());
    EXPECT_TRUE(e.rel.Imp(1, 80, "c"));
    EXPECT_FALSE(e.rel.Imp(1, 81, "d"));
    EXPECT_FALSE(e.rel.Imp(0, 1, "e"));
    EXPECT_EQ(e.messages.shown, (std::vector<std::string>(
                                    2, "RELGRADE: Posição de Impressão inválida, Linha/Coluna devem ser > 0")));
    e.rel.OnErro = [&](TRelGrade&, const std::string& m) { errors.push_back(m); };
    EXPECT_FALSE(e.rel.Imp(1000, 1001, "f"));
    EXPECT_EQ(errors, (std::vector<std::string>{"Erro #09 - (POSIÇÃO INVALIDA) Linha 1000, Coluna 1001"}));
    EXPECT_TRUE(e.rel.Imp(2, 2, "")); // accepted, nothing stored
    EXPECT_EQ(e.rel.Store()->Size(), 2u);
    e.rel.Abortar();
}

TEST(RelGrade, SamePositionKeepsBothAndEmptyTrailingPageDoesNotCount) {
    Engine e;
    ASSERT_TRUE(e.rel.Abrir());
    e.rel.Imp(3, 3, "first");
    e.rel.Imp(3, 3, "again");
    EXPECT_EQ(e.rel.NovaPagina(), 2);
    EXPECT_EQ(e.rel.TotalPaginas(), 1);
    EXPECT_EQ(e.rel.Store()->ItemsOfPage(1).size(), 2u);
    e.rel.Abortar();
}

TEST(RelGrade, ImpNumMasks) {
    struct Case { const char* mask; double value; const char* stored; };
    const Case cases[] = {
        {"##0", 1, "  1"},
        {"##0", 1234, "1234"},
        {"##0", 0, "  0"},
        {"#,##0", 1234567, "1.234.567"},
        {"#,##0.00", 1234.5, "1.234,50"},
        {"0000", 12, "0012"},
        {"#.##", 0.5, "  ,5"},
        {"##0;(##0)", -5, "(5)"},
        {"##0;-##0;'zero'", 0, "zero"},
        {"##0", -7, " -7"},
        {"R$ #0.0", 2.25, " R$ 2,3"},
        {";##0", 3, "    "},
    };
    for (const auto& c : cases) {
        Engine e;
        ASSERT_TRUE(e.rel.Abrir());
        EXPECT_TRUE(e.rel.ImpNum(1, 1, c.mask, c.value));
        const auto items = StoreItems(e.rel);
        ASSERT_EQ(items.size(), 1u);
        EXPECT_EQ(items[0].substr(20), c.stored) << c.mask << " " << c.value;
        e.rel.Abortar();
    }
}

// More decimal places than a double can scale to: still digits, never
// "inf" or "nan".
TEST(NumberMask, PictureWithHundredsOfDecimalsWritesDigits) {
    const NumberSeparators separators;
    const std::string zeros(400, '0');
    struct Case { std::string mask; double value; std::string text; } cases[] = {
        {"0." + zeros, 1.5, "1,5" + std::string(399, '0')},
        {"0." + std::string(400, '#'), 0.0, "0"},
        {"0." + std::string(400, '#'), 0.25, "0,25"},
        {"0." + zeros + ";;'zero'", 0.0, "zero"},
        {"0." + zeros + ";;'zero'", -2.0, "-2," + zeros},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatWithMask(c.mask, c.value, separators), c.text) << c.mask.substr(0, 8) << " " << c.value;
}

TEST(RelGrade, MacrosAreExpandedOnReadingBack) {
    Engine e;
    e.rel.TitulodoRelatorio = "Resumo";
    e.rel.services.clock = [] {
        using namespace std::chrono;
        return LocalDateTime{2026y / 3 / 4, hh_mm_ss<seconds>{hours{9} + minutes{5} + seconds{59}}};
    };
    ASSERT_TRUE(e.rel.Abrir());
    e.rel.Imp(1, 1, "Pag &page& de &PAGE&, &Hora& &data& &TITULO&");
    for (int p = 0; p < 1233; ++p) e.rel.NovaPagina();
    e.rel.Imp(1, 1, "fim");
    const auto item = e.rel.ReadBack(e.rel.Store()->ItemsOfPage(1).front());
    ASSERT_TRUE(item);
    EXPECT_EQ(item->text, "Pag 1.234 de &PAGE&, 09:05 04/03/2026 Resumo");
    // Stored as typed.
    EXPECT_EQ(e.rel.Store()->ItemsOfPage(1).front().substr(20), "Pag &page& de &PAGE&, &Hora& &data& &TITULO&");
    e.rel.Abortar();
}

TEST(RelGrade, ItemThatDoesNotReadBackIsError10OnlyThroughOnErro) {
    Engine e;
    ASSERT_TRUE(e.rel.Abrir());
    EXPECT_FALSE(e.rel.ReadBack("0001x01001016T000000a"));
    EXPECT_TRUE(e.messages.shown.empty());
    std::vector<std::string> errors;
    e.rel.OnErro = [&](TRelGrade&, const std::string& m) { errors.push_back(m); };
    EXPECT_FALSE(e.rel.ReadBack("0001001001016T00G000a"));
    EXPECT_EQ(errors, (std::vector<std::string>{"Erro #10 - (PARAMETROS INVÁLIDOS) Comando 0001001001016T00G000a"}));
    e.rel.Abortar();
}

TEST(RelGrade, NumberedErrorsGoToOnErroOrAMessageBox) {
    struct Case { const char* text; std::function<bool(TRelGrade&)> call; };
    const Case cases[] = {
        {"Erro #02 - (FECHAR) Relatório não foi aberto...", [](TRelGrade& r) { return r.Fechar(); }},
        {"Erro #04 - (NOVA PAGINA) Relatório não foi aberto...", [](TRelGrade& r) { return r.NovaPagina() != -1; }},
        {"Erro #05 - (SETUP) Relatório não foi aberto...", [](TRelGrade& r) { return r.Setup(); }},
        {"Erro #06 - (IMP/IMPF) Relatório não foi aberto...", [](TRelGrade& r) { return r.Imp(1, 1, "a"); }},
        {"Erro #08 - (ABORTAR) Relatório não foi aberto...", [](TRelGrade& r) { return r.Abortar(); }},
        {"Erro #01 - (ABRIR) Relatório já foi aberto...",
         [](TRelGrade& r) { r.Abrir(); const bool again = r.Abrir(); r.Abortar(); return again; }},
    };
    for (const auto& c : cases) {
        {
            Engine e;
            e.rel.Abrir();
            e.rel.Fechar(); // closed, not abandoned
            EXPECT_FALSE(c.call(e.rel)) << c.text;
            ASSERT_FALSE(e.messages.shown.empty()) << c.text;
            EXPECT_EQ(e.messages.shown.front(), c.text);
        }
        {
            Engine e;
            std::vector<std::string> errors;
            e.rel.OnErro = [&](TRelGrade&, const std::string& m) { errors.push_back(m); };
            e.rel.Abrir();
            e.rel.Fechar();
            EXPECT_FALSE(c.call(e.rel));
            EXPECT_TRUE(e.messages.shown.empty());
            ASSERT_FALSE(errors.empty());
            EXPECT_EQ(errors.front(), c.text);
        }
    }
}

TEST(RelGrade, OneReportPerProcess) {
    Engine a, b;
    ASSERT_TRUE(a.rel.Abrir());
    EXPECT_FALSE(b.rel.Abrir());
    EXPECT_EQ(b.messages.shown, (std::vector<std::string>{"Erro #01 - (ABRIR) Relatório já foi aberto..."}));
    EXPECT_TRUE(a.rel.Abortar());
    EXPECT_TRUE(b.rel.Abrir());
    b.rel.Abortar();
}

TEST(RelGrade, AbandonedReportClosesQuietly) {
    Engine e;
    int cancels = 0;
    e.rel.OnCancel = [&](TRelGrade&) { ++cancels; };
    ASSERT_TRUE(e.rel.Abrir());
    EXPECT_TRUE(e.rel.Abortar());
    EXPECT_EQ(cancels, 1);
    EXPECT_FALSE(e.rel.Imp(1, 1, "a"));
    EXPECT_TRUE(e.rel.Fechar());
    EXPECT_EQ(e.messages.shown, (std::vector<std::string>{"Erro #06 - (IMP/IMPF) Relatório não foi aberto..."}));
}

TEST(RelGrade, PageEvents) {
    Engine e;
    std::vector<std::string> events;
    e.rel.OnNewPage = [&](TRelGrade&, int p) { events.push_back("new " + std::to_string(p)); };
    e.rel.OnBeforeNewPage = [&](TRelGrade&, int p) { events.push_back("before " + std::to_string(p)); };
    e.rel.OnBeforePrint = [&](TRelGrade&, bool& go) { events.push_back("print"); go = false; };
    e.rel.OnAfterPrint = [&](TRelGrade&) { events.push_back("after"); };
    ASSERT_TRUE(e.rel.Abrir());
    e.rel.NovaPagina();
    ASSERT_TRUE(e.rel.Fechar());
    EXPECT_EQ(events, (std::vector<std::string>{"new 1", "before 1", "new 2", "before 2", "print"}));
}

// With no printer installed, a job that needs one says so and does not start;
// a route that needs none goes ahead.
TEST(RelGrade, NoPrinterInstalled) {
    struct Case {
        const char* name;
        TModelo model;
        bool spooler;
        const char* pdfFile;
        bool missing;
    };
    const Case cases[] = {
        {"graphic", TModelo::Grafico, true, "", true},
        {"graphic into a PDF file", TModelo::Grafico, true, "/tmp/resumo.pdf", false},
        {"spooler", TModelo::Epson, true, "", true},
        {"direct port", TModelo::Epson, false, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Engine e;
        nfp::testing::ListedPrinters none({}, "");
        e.rel.services.printers = &none;
        e.rel.PortaComunicacao = "/dev/null";
        e.rel.MostrarProgresso = false;
        e.rel.OpcoesPreview.Preview = false;
        ASSERT_TRUE(e.rel.Abrir());
        e.rel.Impressora = c.model;
        e.rel.UsaGerenciadorImpr = c.spooler;
        e.rel.ArquivoGrafico = c.pdfFile;
        EXPECT_EQ(e.rel.NoPrinterInstalled(), c.missing);
        bool afterPrint = false;
        e.rel.OnAfterPrint = [&](TRelGrade&) { afterPrint = true; };
        e.rel.Imp(1, 1, "x");
        ASSERT_TRUE(e.rel.Fechar());
        if (c.missing) {
            EXPECT_EQ(e.messages.shown, std::vector<std::string>{"Nenhuma impressora instalada."});
            EXPECT_FALSE(afterPrint);
        } else {
            EXPECT_TRUE(std::find(e.messages.shown.begin(), e.messages.shown.end(), "Nenhuma impressora instalada.") ==
                        e.messages.shown.end());
        }
    }
    // A printer listed, or a current one, is a printer.
    Engine e;
    nfp::testing::ListedPrinters one({{"Epson LX-300", "/dev/usb/lp0"}}, "");
    e.rel.services.printers = &one;
    e.rel.Impressora = TModelo::Grafico;
    EXPECT_FALSE(e.rel.NoPrinterInstalled());
}

TEST(PageSelection, Texts) {
    struct Case { const char* text; std::vector<int> pages; };
    const Case cases[] = {
        {"1,3,5-12", {1, 3, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"5-3", {}},
        {"-3", {1, 2, 3}},
        {"3,1,3", {3, 1, 3}},
        {"", {}},
        {"   ", {}},
        {"1,,2--4", {1, 2, 3, 4}},
        {" 2 , 4 ", {2, 4}},
        {"x,2,0", {2}},
        {"7-", {}},
        {"9998-999999999", {9998, 9999}},
        {"2-99999999999", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParsePageSelection(c.text), c.pages) << '"' << c.text << '"';
}

TEST(PageOrder, CopiesCollationReverseAndFilter) {
    struct Case { const char* name; int copies; bool collate; bool reverse; const char* selection; int oddEven; const char* out; };
    const Case cases[] = {
        {"one copy", 1, true, false, "", 0, "123"},
        {"collated", 2, true, false, "", 0, "123123"},
        {"not collated", 2, false, false, "", 0, "112233"},
        {"reverse collated", 2, true, true, "", 0, "321321"},
        {"reverse not collated", 2, false, true, "", 0, "332211"},
        {"typed order with repetition", 1, true, false, "3,1,3", 0, "313"},
        {"odd pages", 1, true, false, "", 1, "13"},
        {"even pages", 1, true, false, "", 2, "2"},
        {"pages beyond the last are skipped", 1, true, false, "2-7", 0, "23"},
        {"no copies prints nothing", 0, true, false, "", 0, ""},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string file = dir.File("order.prn");
        DirectReport r(file);
        r.rel.Impressora = TModelo::Bobina;
        ASSERT_TRUE(r.rel.Abrir());
        for (int p = 1; p <= 3; ++p) {
            if (p > 1) r.rel.NovaPagina();
            r.rel.Imp(1, 1, std::to_string(p));
        }
        auto& st = r.rel.MutableState();
        st.copies = c.copies;
        st.collate = c.collate;
        st.reverse = c.reverse;
        st.pageSelection = c.selection;
        st.oddEven = c.oddEven;
        ASSERT_TRUE(r.rel.Fechar());
        EXPECT_EQ(ReadAll(file), c.out) << c.name;
    }
}

TEST(PrinterModels, DetectaModelo) {
    struct Case { const char* name; TModelo model; };
    const Case cases[] = {
        {"EPSON LX-300+", TModelo::Epson},
        {"Epson Stylus C45", TModelo::Grafico}, // STYLUS comes first
        {"hp pcl printer", TModelo::Grafico},   // HP comes first
        {"Xerox PCL6", TModelo::HP},
        {"Rima XT-180", TModelo::Rima},
        {"EMILIA PLUS", TModelo::Rima},
        {"Bematech MP-4200", TModelo::Bobina},
        {"okidata 320", TModelo::Epson},
        {"Brother", TModelo::Grafico},
        {"", TModelo::Grafico},
    };
    for (const auto& c : cases) {
        TRelGrade rel;
        rel.DetectaModelo(c.name);
        EXPECT_EQ(rel.Impressora, c.model) << c.name;
    }
    TRelGrade rel;
    rel.Mapeamento = {"// MEU=BOBINA", "=EPSON", "SALA=personalizado", "COZINHA=ESCP", "OUTRA=qualquer"};
    const std::pair<const char*, TModelo> custom[] = {
        {"meu sala", TModelo::Personalizado}, {"Cozinha", TModelo::Epson}, {"Outra", TModelo::Grafico}};
    for (const auto& [name, model] : custom) {
        rel.DetectaModelo(name);
        EXPECT_EQ(rel.Impressora, model) << name;
    }
}

TEST(PrinterModels, PortFromDevice) {
    EXPECT_EQ(PortFromDevice("LPT1:"), "LPT1");
    EXPECT_EQ(PortFromDevice("parallel:/dev/lp0"), "/dev/lp0");
    EXPECT_EQ(PortFromDevice("usb:/dev/usb/lp0"), "/dev/usb/lp0");
    EXPECT_EQ(PortFromDevice("usb://EPSON/LX-300?serial=1"), "usb://EPSON/LX-300?serial=1");
    EXPECT_EQ(PortFromDevice("socket://10.0.0.2:9100"), "socket://10.0.0.2:9100");
}

TEST(PageStoreOrder, MatchesSortedInsertionForAnyArrivalOrder) {
    // The store's order against the plain rule: each new item inserted
    // before the first item not less than it.
    std::mt19937 random(11);
    const char* texts[] = {"a", "A", "b", "B", "ab", "Ab", ""};
    for (int round = 0; round < 20; ++round) {
        PageStore store;
        std::vector<std::string> oracle;
        for (int i = 0; i < 300; ++i) {
            PageItem item{1 + static_cast<int>(random() % 3), 1 + static_cast<int>(random() % 4), 1, 16, 'T', clBlack,
                          texts[random() % 7]};
            std::string s = FormatPageItem(item);
            if (random() % 5 == 0) s = s.substr(0, random() % 6); // short, odd entries of a loaded file
            store.Add(s);
            const auto at = std::lower_bound(oracle.begin(), oracle.end(), s, [](const std::string& x, const std::string& y) {
                return CompareItemsIgnoringCase(x, y) < 0;
            });
            oracle.insert(at, s);
            if (i % 97 == 0) {
                ASSERT_EQ(store.Items(), oracle); // reading between additions
            }
        }
        ASSERT_EQ(store.Items(), oracle);
        ASSERT_EQ(*store.Last(), oracle.back());
        ASSERT_EQ(store.Size(), oracle.size());
    }
}

TEST(PageStoreOrder, CopiesTakenWhileItemsWaitForAReadKeepThem) {
    // Page 2 before page 1: the second item waits for the next read.
    const std::string late = "0001001001016T000000a", early = "0002001001016T000000b",
                      between = "0001002001016T000000c";
    PageStore original;
    original.Add(early);
    original.Add(late);
    PageStore copy = original;
    copy.Add(between);
    EXPECT_EQ(original.Items(), (std::vector<std::string>{late, early}));
    EXPECT_EQ(copy.Items(), (std::vector<std::string>{late, between, early}));
    EXPECT_EQ(*copy.Last(), early);
}

TEST(PageStoreOrder, TextsLongerThanAStoreBlockAreKeptWhole) {
    const std::string big = "0001001001016T000000" + std::string(3u << 20, 'x');
    const std::string small = "0001001002016T000000y";
    PageStore store;
    store.Add(small);
    store.Add(big);
    store.Add(small);
    EXPECT_EQ(store.Items(), (std::vector<std::string>{big, small, small}));
    EXPECT_EQ(store.ItemsOfPage(1).front().size(), big.size());
}

TEST(PageStoreOrder, CopiesAndMovedStoresAreStoresOfTheirOwn) {
    const std::string a = "0001001001016T000000a", b = "0001001001016T000000b", c = "0001002001016T000000c";
    PageStore original;
    original.Add(a);
    PageStore copy = original;
    copy.Add(b);
    EXPECT_EQ(original.Items(), std::vector<std::string>{a});
    EXPECT_EQ(copy.Items(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(copy.Size(), 2u);

    PageStore assigned;
    assigned.Add(c);
    assigned = original;
    assigned.Add(b);
    EXPECT_EQ(original.Items(), std::vector<std::string>{a});
    EXPECT_EQ(assigned.Items(), (std::vector<std::string>{a, b}));

    PageStore moved = std::move(copy);
    moved.Add(c);
    copy.Add(c); // a moved-from store starts empty
    EXPECT_EQ(moved.Items(), (std::vector<std::string>{a, b, c}));
    EXPECT_EQ(copy.Items(), std::vector<std::string>{c});
    EXPECT_EQ(copy.Size(), 1u);
    PageStore target;
    target.Add(b);
    target = std::move(moved);
    target.Add(a);
    EXPECT_EQ(target.Items(), (std::vector<std::string>{a, a, b, c}));
    EXPECT_EQ(target.Size(), 4u);
}
