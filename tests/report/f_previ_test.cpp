// The preview window on the offscreen platform, with a real report.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include "report/windows/f_previ.h"
#include "report/engine/preview_zoom.h"
#include "report/graphics/qt_pdf_output.h"
#include "report/engine/report_search.h"
#include "report/layouts/sending_summary.h"
#include "pdf_test_support.h"
#include "report_test_support.h"
#include "report_windows_fixtures.h"

#include <filesystem>
#include <fstream>
#include "util/table_layouts.h"

using namespace nfp;
using namespace nfp::test;

namespace {

struct Report {
    TRelGrade rel;
    RecordingMessages messages;
    explicit Report(int pages = 1) {
        rel.services.messages = &messages;
        rel.Abrir();
        for (int p = 1; p <= pages; ++p) {
            if (p > 1) rel.NovaPagina();
            rel.Imp(1, 1, "Página " + std::to_string(p));
            rel.Imp(60, 5, "rodapé da página " + std::to_string(p));
        }
    }
    ~Report() {
        if (rel.IsOpen()) rel.Abortar();
    }
};

// The window as Fechar shows it, without waiting for it to close.
struct Window {
    TFRMPrevi form;
    explicit Window(TRelGrade& rel) : form(rel) {
        form.Prepare();
        form.show();
        QApplication::processEvents();
    }
    bool enabled(const char* name) { return form.Button(name)->isEnabled(); }
};

} // namespace

TEST(PreviewZoom, Rules) {
    ZoomViewport v{800, 780, 500, 838, 1408};
    EXPECT_EQ(ResolveZoom(100, v), 100);
    EXPECT_EQ(ResolveZoom(10, v), 20);
    EXPECT_EQ(ResolveZoom(410, v), 400);
    EXPECT_EQ(ResolveZoom(kZoomFitWidth, v), 91);                  // (800 - 30) * 100 / 838
    EXPECT_EQ(ResolveZoom(kZoomWholePage, v), 34);                 // (500 - 10) * 100 / 1408
    EXPECT_EQ(ResolveZoom(kZoomFitWidth, ZoomViewport{100, 90, 90, 838, 1408}), 20); // narrow window
    EXPECT_EQ(ZoomText(100), "100%");
    EXPECT_EQ(ZoomText(25), "25%");
    EXPECT_EQ(ZoomText(5), "05%");
    EXPECT_EQ(Zoomed(838, 91), 763); // 762.58
    EXPECT_EQ(Zoomed(5, 50), 2);     // 2.5: halves to even
}

TEST(PreviewSearch, FoundThenNotFoundAndUpwardsFromTheLast) {
    Report r(3);
    r.rel.Imp(10, 7, "Nota Fiscal Paulista"); // page 3
    SearchState state;
    const auto hit = SearchReport(r.rel, "fiscal", true, false, state);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->page, 3);
    EXPECT_EQ(hit->line, 11);
    EXPECT_EQ(hit->column, 7 + 20);
    ASSERT_TRUE(r.rel.State().findMarker);
    EXPECT_EQ(r.rel.State().findMarker->substr(13, 1), "M");
    EXPECT_FALSE(SearchReport(r.rel, "fiscal", true, false, state));
    EXPECT_FALSE(r.rel.State().findMarker);
    EXPECT_EQ(r.messages.shown.back(), "Não é possível encontrar \"fiscal\"");
    // Upwards from a fresh start: the last item first.
    SearchState up;
    const auto last = SearchReport(r.rel, "RODAPE", false, false, up);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->page, 3);
    EXPECT_EQ(SearchReport(r.rel, "rodape", false, false, up)->page, 2);
    // Match case: accents still ignored, letter case not.
    SearchState exact;
    EXPECT_FALSE(SearchReport(r.rel, "FISCAL", true, true, exact));
    SearchState exact2;
    EXPECT_TRUE(SearchReport(r.rel, "Fiscal", true, true, exact2));
    EXPECT_EQ(SearchKey("Ação Ñ", false), "ACAO N");
}

TEST(Preview, OnePageReportDisablesPageTurning) {
    Report r(1);
    Window w(r.rel);
    for (const char* name : {"PRIMEIRA", "ANTERIOR", "PROXIMA", "ULTIMA", "DIRETO"}) EXPECT_FALSE(w.enabled(name)) << name;
    EXPECT_EQ(w.form.Panel(0)->text(), QStringLiteral("Página: 1 de 1"));
    EXPECT_EQ(w.form.Panel(3)->text(), QStringLiteral("Epson"));
}

TEST(Preview, PageTurningStates) {
    Report r(3);
    Window w(r.rel);
    EXPECT_FALSE(w.enabled("PRIMEIRA"));
    EXPECT_TRUE(w.enabled("PROXIMA"));
    EXPECT_TRUE(w.enabled("DIRETO"));
    w.form.Button("PROXIMA")->click();
    EXPECT_EQ(w.form.CurrentPage(), 2);
    EXPECT_TRUE(w.enabled("ANTERIOR"));
    EXPECT_TRUE(w.enabled("ULTIMA"));
    QTest::keyClick(&w.form, Qt::Key_End);
    EXPECT_EQ(w.form.CurrentPage(), 3);
    EXPECT_FALSE(w.enabled("PROXIMA"));
    EXPECT_FALSE(w.enabled("ULTIMA"));
    QTest::keyClick(&w.form, Qt::Key_PageUp);
    EXPECT_EQ(w.form.CurrentPage(), 2);
    QTest::keyClick(&w.form, Qt::Key_Home);
    EXPECT_EQ(w.form.CurrentPage(), 1);
    EXPECT_EQ(w.form.Panel(0)->text(), QStringLiteral("Página: 1 de 3"));
    EXPECT_EQ(r.rel.CurrentPage(), 1); // the page shown is the engine's current page
}

TEST(Preview, DirectPageJump) {
    Report r(3);
    Window w(r.rel);
    struct Case { const char* typed; int page; bool message; };
    for (const auto& c : {Case{"2", 2, false}, Case{"0", 2, false}, Case{"9", 2, false}, Case{"abc", 2, true},
                          Case{" 3", 3, false}}) {
        r.messages.shown.clear();
        w.form.askPage = [&] { return std::optional<std::string>(c.typed); };
        w.form.DIRETOClick();
        EXPECT_EQ(w.form.CurrentPage(), c.page) << c.typed;
        EXPECT_EQ(r.messages.shown, c.message ? std::vector<std::string>{"Página inválida..."} : std::vector<std::string>{})
            << c.typed;
    }
    w.form.askPage = [] { return std::optional<std::string>(); }; // Cancel
    QTest::keyClick(&w.form, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(w.form.CurrentPage(), 3);
}

TEST(Preview, ZoomButtonsAndMenuClamp) {
    Report r(1);
    Window w(r.rel);
    EXPECT_EQ(w.form.Zoom(), 100);
    EXPECT_EQ(w.form.Panel(1)->text(), QStringLiteral("100%"));
    for (int i = 0; i < 12; ++i) w.form.Button("SpeedButton2")->click();
    EXPECT_EQ(w.form.Zoom(), 20);
    EXPECT_EQ(w.form.Panel(1)->text(), QStringLiteral("20%"));
    w.form.ZoomMenuClick(200);
    for (int i = 0; i < 30; ++i) QTest::keyClick(&w.form, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(w.form.Zoom(), 400);
    const QSize s = w.form.PictureSize();
    EXPECT_EQ(s, QSize(80 * 8 + 30, 66 * 16 + 30));
    EXPECT_EQ(w.form.Visor()->size(), QSize(Zoomed(s.width(), 400) + 10, Zoomed(s.height(), 400) + 10));
    // Fit to width on a narrow window gives the smallest zoom.
    w.form.showNormal();
    w.form.resize(540, 240);
    QApplication::processEvents();
    w.form.Scroller()->resize(40, 100);
    w.form.LARGURAClick();
    EXPECT_EQ(w.form.Zoom(), 20);
}

TEST(Preview, HiddenSaveButtonAndItsShortcut) {
    Report r(1);
    r.rel.OpcoesPreview.BotaoGravar = TStatBut::Invisivel;
    r.rel.OpcoesPreview.BotaoImprimir = TStatBut::Inativo;
    Window w(r.rel);
    EXPECT_TRUE(w.form.Button("SALVAR")->isHidden());
    EXPECT_FALSE(w.form.Button("IMPRIMIR")->isEnabled());
    EXPECT_FALSE(w.form.Button("IMPRIMIR")->isHidden());
    int asked = 0;
    w.form.askSaveFile = [&](const std::string&) {
        ++asked;
        return std::optional<std::pair<std::string, SaveFileType>>();
    };
    QTest::keyClick(&w.form, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(asked, 0);
    // Ctrl+F opens the find dialog whatever the find button's state.
    r.rel.OpcoesPreview.BotaoProcurar = TStatBut::Invisivel;
    w.form.Prepare();
    QTest::keyClick(&w.form, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(w.form.FindDialog()->isVisible());
}

TEST(Preview, FindMarksTheHitOnItsPage) {
    Report r(2);
    Window w(r.rel);
    w.form.PROCURARClick();
    w.form.FindDialog()->text->setText(QStringLiteral("rodapé da página 2"));
    w.form.FindDialog1Find();
    EXPECT_EQ(w.form.CurrentPage(), 2);
    ASSERT_TRUE(r.rel.State().findMarker);
    w.form.FindDialog1Find(); // F3 again: not found any more
    EXPECT_EQ(r.messages.shown.back(), "Não é possível encontrar \"rodapé da página 2\"");
    EXPECT_FALSE(r.rel.State().findMarker);
    w.form.FindDialog()->up->setChecked(true);
    w.form.PROCURARClick(); // a fresh search: upwards from the last item
    w.form.FindDialog()->text->setText(QStringLiteral("PAGINA"));
    w.form.FindDialog1Find();
    EXPECT_EQ(w.form.CurrentPage(), 2);
}

TEST(Preview, ArrowsTurnPagesAtTheEdges) {
    Report r(2);
    Window w(r.rel);
    w.form.ZoomMenuClick(200);
    QApplication::processEvents();
    QScrollBar* v = w.form.Scroller()->verticalScrollBar();
    ASSERT_GT(v->maximum(), 0);
    QTest::keyClick(&w.form, Qt::Key_PageDown);
    ASSERT_EQ(w.form.CurrentPage(), 2);
    v->setValue(0);
    QTest::keyClick(&w.form, Qt::Key_Up); // at the top of page 2
    EXPECT_EQ(w.form.CurrentPage(), 1);
    EXPECT_EQ(v->value(), v->maximum());
    QTest::keyClick(&w.form, Qt::Key_End);
    v->setValue(v->maximum());
    QTest::keyClick(&w.form, Qt::Key_Down); // at the bottom of the last page
    EXPECT_EQ(w.form.CurrentPage(), 2);
    EXPECT_EQ(v->value(), v->maximum());
    w.form.DoMouseWheel(false); // away from the user: up
    EXPECT_LT(v->value(), v->maximum());
}

TEST(Preview, DraggingMovesThePage) {
    Report r(1);
    Window w(r.rel);
    w.form.ZoomMenuClick(200);
    QApplication::processEvents();
    QScrollBar* h = w.form.Scroller()->horizontalScrollBar();
    QScrollBar* v = w.form.Scroller()->verticalScrollBar();
    h->setValue(0);
    v->setValue(0);
    QTest::mousePress(w.form.Visor(), Qt::LeftButton, {}, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(90, 80), w.form.Visor()->mapToGlobal(QPointF(90, 80)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.form.Visor(), &move);
    EXPECT_EQ(h->value(), 10);
    EXPECT_EQ(v->value(), 20);
    QTest::mouseRelease(w.form.Visor(), Qt::LeftButton, {}, QPoint(90, 80));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(Preview, SummaryOfThreeResultsOpensWithItsHeaderOnPage1) {
    MemoryTable results(ResultsLayout());
    for (const char* name : {"B.TXT", "A.TXT", "C.TXT"}) {
        results.Append();
        results.SetField("Arquivo", name);
        results.SetField("Caminho", "/loja");
        results.SetField("Resultado", "Arquivo recebido com sucesso");
        results.Post();
    }
    TRelGrade rel;
    RecordingMessages messages;
    ConfigureSendingSummaryEngine(rel);
    rel.services.messages = &messages;
    QtPreviewWindow preview;
    rel.services.preview = &preview;
    bool shown = false;
    preview.onShown = [&](TFRMPrevi& form) {
        shown = true;
        EXPECT_TRUE(form.isModal() || form.isVisible());
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Resumo do Envio das Notas Fiscais Paulista"));
        EXPECT_EQ(form.CurrentPage(), 1);
        EXPECT_EQ(form.Panel(0)->text(), QStringLiteral("Página: 1 de 1"));
        EXPECT_EQ(form.PictureSize(), QSize(96 * 8 + 70, 88 * 16)); // tractor paper
        EXPECT_TRUE(rel.PreviewActive());
        const auto page1 = rel.Store()->ItemsOfPage(1);
        ASSERT_FALSE(page1.empty());
        EXPECT_EQ(page1.front().substr(20), std::string(95, '-'));
        EXPECT_NE(std::find_if(page1.begin(), page1.end(),
                               [](const std::string& s) { return s.find("Resumo do Envio das Notas Fiscais Paulista, emiss") != std::string::npos; }),
                  page1.end());
        form.CANCELARClick();
    };
    PrintSendingSummary(rel, results, std::chrono::year_month_day{std::chrono::year{2026}, std::chrono::month{12}, std::chrono::day{10}},
                        RegionalSettings::Brazilian());
    EXPECT_TRUE(shown);
    EXPECT_FALSE(rel.IsOpen());
    EXPECT_FALSE(rel.PreviewActive());
    EXPECT_TRUE(messages.shown.empty());
}

TEST(Preview, SaveAndOpenFromTheToolbar) {
    TempDir dir;
    std::string saved;
    {
        Report r(3);
        r.rel.TitulodoRelatorio = "tres paginas";
        Window w(r.rel);
        w.form.askSaveFile = [&](const std::string& suggested) {
            EXPECT_EQ(suggested, "tres paginas");
            return std::optional(std::pair{dir.File("copia.txt"), SaveFileType::Relatorio});
        };
        w.form.SALVARClick();
        saved = dir.File("copia.RGR");
        ASSERT_TRUE(std::filesystem::exists(saved));
        EXPECT_TRUE(r.messages.shown.empty());
    }
    Report r(1);
    Window w(r.rel);
    EXPECT_EQ(w.form.LastPage(), 1);
    w.form.askOpenFile = [&] { return std::optional(saved); };
    QTest::keyClick(&w.form, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(w.form.LastPage(), 3);
    EXPECT_EQ(w.form.CurrentPage(), 1);
    EXPECT_EQ(w.form.Panel(0)->text(), QStringLiteral("Página: 1 de 3"));
    EXPECT_EQ(r.rel.TitulodoRelatorio, "tres paginas");
    EXPECT_TRUE(w.enabled("PROXIMA"));
}

TEST(Preview, SaveDialogOffersPdfBesideTheOtherTypes) {
    const QStringList filters = SaveDialogFilters();
    ASSERT_EQ(filters.size(), 4);
    EXPECT_EQ(filters[static_cast<int>(SaveFileType::Pdf)], QStringLiteral("Documento PDF (*.PDF)"));

    // The real dialog, offering the type asked for first.
    Report r(1);
    Window w(r.rel);
    QStringList shown;
    QString selected;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = dialog->nameFilters();
        selected = dialog->selectedNameFilter();
        dialog->reject();
    });
    w.form.SaveAs(SaveFileType::Pdf);
    EXPECT_EQ(shown, filters);
    EXPECT_EQ(selected, QStringLiteral("Documento PDF (*.PDF)"));
}

TEST(Preview, SavedAsPdfOnePagePerReportPage) {
    TempDir dir;
    Report r(2);
    QtPdfOutput pdf;
    r.rel.services.pdf = &pdf;
    Window w(r.rel);
    w.form.askSaveFile = [&](const std::string&) {
        return std::optional(std::pair{dir.File("resumo"), SaveFileType::Pdf});
    };
    w.form.SALVARClick();
    const std::string file = dir.File("resumo.PDF");
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_TRUE(r.messages.shown.empty());
    EXPECT_EQ(PdfPageCount(ReadAll(file)), 2u);
    const std::string text = PdfText(file);
    EXPECT_NE(text.find("rodapé da página 1"), std::string::npos) << text;
    EXPECT_NE(text.find("rodapé da página 2"), std::string::npos) << text;
}

// No printer at all: Imprimir suggests keeping the report as a PDF document.
TEST(Preview, PrintWithoutAPrinterSuggestsSavingAsPdf) {
    for (const bool yes : {true, false}) {
        Report r(1);
        nfp::testing::ListedPrinters none({}, "");
        r.rel.services.printers = &none;
        r.rel.Impressora = TModelo::Grafico;
        r.messages.answer = yes;
        Window w(r.rel);
        std::vector<SaveFileType> offered;
        w.form.askSaveFile = [&](const std::string&) {
            offered.push_back(w.form.SaveTypeOffered());
            return std::optional<std::pair<std::string, SaveFileType>>();
        };
        w.form.IMPRIMIRClick();
        EXPECT_EQ(r.messages.asked, std::vector<std::string>{
                                        "Nenhuma impressora instalada.\r\rDeseja salvar o relatório como Documento PDF ?"});
        EXPECT_TRUE(r.messages.shown.empty());
        EXPECT_EQ(offered, yes ? std::vector<SaveFileType>{SaveFileType::Pdf} : std::vector<SaveFileType>{});
        EXPECT_EQ(w.form.SaveTypeOffered(), SaveFileType::Relatorio);
    }
}

TEST(Preview, FileThatDoesNotOpenLeavesThePageShown) {
    TempDir dir;
    const std::string bad = dir.File("outro.RGR");
    {
        std::ofstream out(bad, std::ios::binary);
        out << "<< outro formato >>\r\n";
    }
    Report r(3);
    Window w(r.rel);
    w.form.PROXIMAClick();
    ASSERT_EQ(w.form.CurrentPage(), 2);
    w.form.askOpenFile = [&] { return std::optional(bad); };
    w.form.ABRIRClick();
    EXPECT_EQ(r.messages.shown, std::vector<std::string>{"Formato do arquivo \xC3\xA9 inv\xC3\xA1lido..."});
    EXPECT_EQ(w.form.CurrentPage(), 2);
    EXPECT_EQ(w.form.LastPage(), 3);
    EXPECT_EQ(w.form.Panel(0)->text(), QStringLiteral("Página: 2 de 3"));
}

TEST(Preview, EscCloses) {
    Report r(1);
    TFRMPrevi form(r.rel);
    form.Prepare();
    QTimer::singleShot(0, &form, [&] { QTest::keyClick(&form, Qt::Key_Escape); });
    EXPECT_EQ(form.exec(), QDialog::Rejected);
}
