// The page picture's geometry and graphic printing on a PDF printer.
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "report/engine/graphic_placement.h"
#include "report/engine/page_drawing.h"
#include "report/graphics/page_picture.h"
#include "report/graphics/qt_graphic_output.h"
#include "report/layouts/sending_summary.h"
#include "pdf_test_support.h"
#include "report_test_support.h"

using namespace nfp;
using namespace nfp::test;

namespace {

std::vector<DrawOp> OpsOf(const PageDrawing& d, DrawOp::Kind kind, TColor fill = 0xFFFFFFFF) {
    std::vector<DrawOp> out;
    for (const auto& op : d.ops)
        if (op.kind == kind && (fill == 0xFFFFFFFF || op.fill == fill)) out.push_back(op);
    return out;
}

QImage Render(const QPicture& picture) {
    const QRect r = picture.boundingRect();
    QImage image(r.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter p(&image);
    p.drawPicture(0, 0, picture);
    p.end();
    return image;
}

struct Report {
    TRelGrade rel;
    RecordingMessages messages;
    Report() { rel.services.messages = &messages; }
    ~Report() { if (rel.IsOpen()) rel.Abortar(); }
};

// The sending summary's engine printing in graphic mode into a PDF file, on
// paper of the given size without margins.
struct PdfSummary {
    QPrinter printer{QPrinter::HighResolution};
    QtGraphicOutput output{printer};
    Report r;
    PdfSummary(const std::string& file, QPageSize::PageSizeId paper) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file));
        printer.setPageSize(QPageSize(paper));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        ConfigureSendingSummaryEngine(r.rel);
        r.rel.OpcoesPreview.Preview = false;
        r.rel.Impressora = TModelo::Grafico;
        r.rel.PortaComunicacao = "pdf";
        r.rel.MostrarProgresso = false;
        r.rel.services.graphic = &output;
    }
};

} // namespace

TEST(PagePicture, TextRectangles) {
    struct Case { PictureMode mode; bool remalina; int line, column, length; double f; TextRect rect; };
    const Case cases[] = {
        {PictureMode::Print, false, 1, 1, 4, 1, {0, 0, 32, 16}},
        {PictureMode::Print, false, 3, 5, 10, 0.701754, {32, 32, 88, 48}},   // (7.01754 + 4) * 8 = 88.14
        {PictureMode::Print, false, 2, 2, 3, 2, {8, 16, 56, 32}},            // expanded
        {PictureMode::Print, false, 1, 1, 1, 0.5, {0, 0, 4, 16}},
        {PictureMode::Print, false, 1, 1, 5, 0.833333, {0, 0, 33, 16}},      // 33.33
        {PictureMode::Preview, true, 1, 1, 4, 1, {36, 0, 68, 16}},
        {PictureMode::Preview, true, 4, 10, 2, 1.2, {108, 48, 127, 64}},     // 91.2 + 36 = 127.2
        {PictureMode::Preview, false, 1, 1, 4, 1, {15, 15, 48, 32}},
        {PictureMode::Preview, false, 5, 3, 6, 0.6, {31, 79, 61, 96}},       // 44.8 + 16 = 60.8
        {PictureMode::Preview, false, 1, 1, 1, 0.5625, {15, 15, 20, 32}},    // 4.5 + 16 = 20.5: halves to even
    };
    for (const auto& c : cases) {
        const TextRect r = TextRectangle(c.mode, c.remalina, c.line, c.column, c.length, c.f);
        EXPECT_EQ(std::tie(r.left, r.top, r.right, r.bottom),
                  std::tie(c.rect.left, c.rect.top, c.rect.right, c.rect.bottom))
            << c.line << "/" << c.column << " x" << c.length << " f=" << c.f;
    }
}

TEST(PagePicture, WidthFactorOfAnItemTakesTheLowestSizeBit) {
    EXPECT_DOUBLE_EQ(WidthFactor(0, WidthFactors(TSize::S12cpp)), 1);
    EXPECT_DOUBLE_EQ(WidthFactor(16 | 2, WidthFactors(TSize::S12cpp)), 1.2);
    EXPECT_DOUBLE_EQ(WidthFactor(8 | 64, WidthFactors(TSize::S20cpp)), 2);
    EXPECT_DOUBLE_EQ(WidthFactor(64 | 128, WidthFactors(TSize::S10cpp)), 0.584795);
    EXPECT_DOUBLE_EQ(WidthFactor(64, WidthFactors(TSize::S05cpp)), 0.294117);
    EXPECT_DOUBLE_EQ(WidthFactor(8, WidthFactors(TSize::S05cpp)), 1);
}

TEST(PagePicture, PictureSizesAndOffsets) {
    struct Case { PictureMode mode; bool remalina; int w, h, ox, oy; };
    for (const auto& c : {Case{PictureMode::Print, false, 640, 1056, 0, 0}, Case{PictureMode::Preview, true, 710, 1056, 70, 0},
                          Case{PictureMode::Preview, false, 670, 1086, 30, 30}}) {
        const PageDrawing d = EmptyPageDrawing(80, 66, c.mode, c.remalina);
        EXPECT_EQ(std::tie(d.width, d.height, d.offsetX, d.offsetY), std::tie(c.w, c.h, c.ox, c.oy));
    }
}

TEST(PagePicture, BandsCoverOddLinesBelowThePageLength) {
    for (const bool remalina : {false, true}) {
        Report r;
        r.rel.TamanhoQteLinhas = 65;
        r.rel.OpcoesPreview.PaginaZebrada = true;
        r.rel.OpcoesPreview.Remalina = remalina;
        ASSERT_TRUE(r.rel.Abrir());
        const PageDrawing d = DrawPage(r.rel, 1, PictureMode::Preview);
        const auto bands = OpsOf(d, DrawOp::Fill, kBandGreen);
        ASSERT_EQ(bands.size(), 32u); // lines 1, 3 ... 63
        for (std::size_t i = 0; i < bands.size(); ++i) {
            const int k = 1 + 2 * static_cast<int>(i);
            if (remalina)
                EXPECT_EQ(std::tie(bands[i].x1, bands[i].y1, bands[i].x2, bands[i].y2),
                          std::make_tuple(33, (k - 1) * 16, d.width - 33, k * 16 + 1));
            else
                EXPECT_EQ(std::tie(bands[i].x1, bands[i].y1, bands[i].x2, bands[i].y2),
                          std::make_tuple(15, (k - 1) * 16 + 15, d.width - 16, k * 16 + 16));
        }
        // Print mode draws the bare page.
        EXPECT_TRUE(OpsOf(DrawPage(r.rel, 1, PictureMode::Print), DrawOp::Fill, kBandGreen).empty());
    }
}

TEST(PagePicture, SprocketHolesOfTractorPaper) {
    Report r;
    r.rel.OpcoesPreview.Remalina = true;
    ASSERT_TRUE(r.rel.Abrir());
    const PageDrawing d = DrawPage(r.rel, 1, PictureMode::Preview);
    const auto holes = OpsOf(d, DrawOp::Ellipse);
    ASSERT_EQ(holes.size(), 44u); // 22 pairs on 66 lines
    for (int k = 1; k <= 22; ++k) {
        const auto& left = holes[static_cast<std::size_t>(2 * (k - 1))];
        const auto& right = holes[static_cast<std::size_t>(2 * (k - 1) + 1)];
        const int y = 20 + 48 * (k - 1);
        EXPECT_EQ(std::tie(left.x1, left.y1, left.x2, left.y2), std::make_tuple(10, y, 21, y + 11));
        EXPECT_EQ(std::tie(right.x1, right.y1, right.x2, right.y2),
                  std::make_tuple(d.width - 21, y, d.width - 10, y + 11));
        EXPECT_EQ(left.color, kGuideSilver);
    }
    const auto guides = OpsOf(d, DrawOp::Line);
    ASSERT_EQ(guides.size(), 2u);
    EXPECT_EQ(guides[0].x1, 31);
    EXPECT_EQ(guides[1].x1, d.width - 32);
    EXPECT_TRUE(guides[0].dotted);
}

TEST(PagePicture, ControlItemsAreNeverDrawnAndBoxItemsOnlyAsStrokes) {
    Report r;
    ASSERT_TRUE(r.rel.Abrir());
    auto& store = *r.rel.MutableState().store;
    store.Add(FormatPageItem({1, 2, 3, 16, 'C', clBlack, "27 64"}));
    store.Add(FormatPageItem({1, 3, 2, 16, 'B', clRed, "a-b"}));
    store.Add(FormatPageItem({1, 4, 1, 16, 'T', clBlue, "texto"}));
    const PageDrawing d = DrawPage(r.rel, 1, PictureMode::Print);
    const auto texts = OpsOf(d, DrawOp::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "texto");
    EXPECT_EQ(texts[0].color, clBlue);
    const auto strokes = OpsOf(d, DrawOp::Line);
    ASSERT_FALSE(strokes.empty());
    for (const auto& s : strokes) EXPECT_EQ(s.color, clRed);
    // "-" in the cell of column 3, line 3: one horizontal stroke 7 below the top.
    EXPECT_NE(std::find_if(strokes.begin(), strokes.end(),
                           [](const DrawOp& s) { return s.y1 == 39 && s.y2 == 39 && s.x1 == 16 && s.x2 == 24; }),
              strokes.end());
    // On the picture: the box strokes in red, nothing else in the box cells.
    const QImage image = Render(PagePicture(d));
    EXPECT_EQ(image.pixelColor(20, 39), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(20, 34), QColor(Qt::white));
    // The control item's cell stays blank.
    for (int x = 16; x < 56; ++x) EXPECT_EQ(image.pixelColor(x, 24), QColor(Qt::white)) << x;
}

TEST(PagePicture, DoubleBoxCornerJoins) {
    // Double down-and-right: outer strokes meet at (3, 5), inner ones at (6, 8).
    const auto ops = BoxStrokes('A', 0, 0, clBlack);
    const auto has = [&](int x1, int y1, int x2, int y2) {
        return std::any_of(ops.begin(), ops.end(),
                           [&](const DrawOp& o) { return o.x1 == x1 && o.y1 == y1 && o.x2 == x2 && o.y2 == y2; });
    };
    EXPECT_EQ(ops.size(), 4u);
    EXPECT_TRUE(has(3, 5, 8, 5));
    EXPECT_TRUE(has(6, 8, 8, 8));
    EXPECT_TRUE(has(3, 5, 3, 16));
    EXPECT_TRUE(has(6, 8, 6, 16));
    EXPECT_TRUE(BoxStrokes('x', 0, 0, clBlack).empty());
    EXPECT_EQ(BoxStrokes('+', 0, 0, clBlack).size(), 2u);
}

TEST(PagePicture, TextIsStretchedIntoItsCells) {
    Report r;
    r.rel.FonteTamanhoPadrao = TSize::S12cpp;
    ASSERT_TRUE(r.rel.Abrir());
    r.rel.ImpF(2, 3, "WWWW", SizeBit(TSize::S05cpp)); // twice as wide: columns 3 to 10
    r.rel.Imp(4, 1, "MMMM");
    const PageDrawing d = DrawPage(r.rel, 1, PictureMode::Print);
    const QImage image = Render(PagePicture(d));
    const auto inked = [&](int x1, int y1, int x2, int y2) {
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                if (qGray(image.pixel(x, y)) < 128) return true;
        return false;
    };
    EXPECT_TRUE(inked(16, 16, 80, 32));
    EXPECT_TRUE(inked(60, 16, 80, 32)); // the stretched half
    EXPECT_FALSE(inked(81, 0, image.width(), 48));
    EXPECT_TRUE(inked(0, 48, 32, 64));
    EXPECT_FALSE(inked(33, 48, image.width(), 64));
}

TEST(PagePicture, TwoTextsAtOnePlaceAreBothDrawnInStoreOrder) {
    Report r;
    ASSERT_TRUE(r.rel.Abrir());
    r.rel.Imp(3, 3, "primeiro");
    r.rel.Imp(3, 3, "depois");
    const auto texts = OpsOf(DrawPage(r.rel, 1, PictureMode::Print), DrawOp::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "depois"); // the store's order, not the writing order
    EXPECT_EQ(texts[1].text, "primeiro");
    EXPECT_EQ(std::tie(texts[0].x1, texts[0].y1), std::tie(texts[1].x1, texts[1].y1));
}

TEST(PagePicture, FindMarkerIsDrawnLastOnYellow) {
    Report r;
    ASSERT_TRUE(r.rel.Abrir());
    r.rel.Imp(1, 1, "achado");
    r.rel.Imp(2, 1, "depois");
    std::string marker = r.rel.Store()->ItemsOfPage(1).front();
    marker[13] = 'M';
    r.rel.MutableState().findMarker = marker;
    const PageDrawing d = DrawPage(r.rel, 1, PictureMode::Preview);
    const auto texts = OpsOf(d, DrawOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts.back().text, "achado");
    EXPECT_EQ(texts.back().fill, kMarkerYellow);
    EXPECT_EQ(texts[0].fill, clWhite);
    EXPECT_TRUE(OpsOf(DrawPage(r.rel, 2, PictureMode::Preview), DrawOp::Text).empty());
    EXPECT_EQ(r.rel.CurrentPage(), 2); // drawing in preview mode turns the page
}

TEST(PagePicture, CancelWhileDrawingForPrintStopsThePage) {
    Report r;
    int calls = 0;
    r.rel.services.processEvents = [&] {
        if (++calls == 2) r.rel.Cancelar(); // the user confirms Cancel after the first item
    };
    int cancels = 0;
    r.rel.OnCancel = [&](TRelGrade&) { ++cancels; };
    ASSERT_TRUE(r.rel.Abrir());
    for (int line = 1; line <= 5; ++line) r.rel.Imp(line, 1, "linha");
    const PageDrawing d = DrawPage(r.rel, 1, PictureMode::Print);
    EXPECT_TRUE(d.cancelled);
    EXPECT_EQ(OpsOf(d, DrawOp::Text).size(), 1u);
    EXPECT_EQ(cancels, 1);
}

TEST(GraphicPrinting, PlacementWithinMargins) {
    DeviceMetrics m;
    m.dpiX = m.dpiY = 600;
    m.physicalWidth = 5100;  // 8.5 in
    m.physicalHeight = 6600; // 11 in
    m.offsetX = m.offsetY = 100;
    m.printableWidth = 4900;
    m.printableHeight = 6400;
    // A 66-line 80-column page at 10 cpi and 6 lpi: 8 by 11 inches.
    const Placement p = PlacePage(m, TMargens{10, 10, 10, 10}, 80, 66, TSize::S10cpp, TLinha::Seis);
    EXPECT_EQ(p.left, 236 - 100);
    EXPECT_EQ(p.top, 136);
    EXPECT_EQ(p.availableWidth, 4900 - 136 - 136);
    EXPECT_EQ(p.naturalWidth, 4800);
    EXPECT_EQ(p.naturalHeight, 6600);
    const double s = std::max(4800.0 / p.availableWidth, 6600.0 / p.availableHeight);
    EXPECT_DOUBLE_EQ(p.scale, s);
    EXPECT_EQ(p.width, static_cast<int>(4800 / s));
    EXPECT_EQ(p.height, static_cast<int>(6600 / s));
    // Margins inside the unprintable strip become 0; a small page is never enlarged.
    const Placement small = PlacePage(m, TMargens{2, 2, 2, 2}, 40, 30, TSize::S10cpp, TLinha::Seis);
    EXPECT_EQ(std::tie(small.left, small.top), std::make_tuple(0, 0));
    EXPECT_EQ(std::tie(small.width, small.height), std::make_tuple(2400, 3000));
    EXPECT_DOUBLE_EQ(small.scale, 1);
}

TEST(GraphicPrinting, SummaryPageOnAPdfPrinter) {
    TempDir dir;
    PdfSummary summary(dir.File("resumo.pdf"), QPageSize::A3);
    TRelGrade& rel = summary.r.rel;
    ASSERT_TRUE(rel.Abrir());
    rel.Imp(1, 1, "primeira");
    rel.NovaPagina();
    rel.Imp(88, 96, "x");
    ASSERT_TRUE(rel.Fechar());

    const int dpi = summary.printer.logicalDpiX();
    const Placement& p = summary.output.LastPlacement();
    EXPECT_EQ(p.naturalWidth, 8 * dpi);
    EXPECT_EQ(p.naturalHeight, 11 * summary.printer.logicalDpiY());
    EXPECT_DOUBLE_EQ(p.scale, 1); // fits on A3 at its natural size
    EXPECT_EQ(p.width, 8 * dpi);
    const std::string pdf = ReadAll(dir.File("resumo.pdf"));
    ASSERT_TRUE(pdf.starts_with("%PDF"));
    EXPECT_EQ(PdfPageCount(pdf), 2u);
    // The whole page at its size, not a corner of it enlarged by the
    // printer's resolution: the last column of the last line is there.
    const std::string text = PdfText(dir.File("resumo.pdf"));
    EXPECT_NE(text.find("primeira"), std::string::npos) << text;
    EXPECT_NE(text.find('x'), std::string::npos) << text;
}

TEST(PagePicture, StretchedToItsTargetWhateverTheDevicesResolution) {
    QPicture picture;
    {
        QPainter p(&picture);
        p.fillRect(QRect(0, 0, 100, 50), Qt::red);
    }
    picture.setBoundingRect(QRect(0, 0, 100, 50));
    for (const int dpi : {96, 300, 1200}) {
        QImage image(400, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254));
        image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254));
        {
            QPainter p(&image);
            StretchPicture(p, picture, QRectF(10, 10, 200, 100));
        }
        const QRgb red = qRgb(255, 0, 0);
        EXPECT_EQ(image.pixel(11, 11), red) << dpi;
        EXPECT_EQ(image.pixel(208, 108), red) << dpi;
        EXPECT_NE(image.pixel(212, 60), red) << dpi;
        EXPECT_NE(image.pixel(60, 112), red) << dpi;
    }
}

// Qt's PDF printer chosen in the printer properties: the graphic route
// prints into its file, replacing an earlier one whole.
TEST(GraphicPrinting, APdfFileChosenAsThePrinterReceivesTheJob) {
    TempDir dir;
    const std::string file = dir.File("impresso.pdf");
    { std::ofstream(file) << "anterior"; }
    QtGraphicOutput output;
    Report r;
    ConfigureSendingSummaryEngine(r.rel);
    r.rel.services.graphic = &output;
    r.rel.OpcoesPreview.Preview = false;
    r.rel.MostrarProgresso = false;
    r.rel.Impressora = TModelo::Grafico;
    r.rel.PortaComunicacao = "pdf";
    r.rel.ArquivoGrafico = file;
    ASSERT_TRUE(r.rel.Abrir());
    r.rel.Imp(1, 1, "Resumo do Envio");
    r.rel.NovaPagina();
    r.rel.Imp(88, 80, "segunda folha");
    ASSERT_TRUE(r.rel.Fechar());
    EXPECT_TRUE(r.messages.shown.empty()) << r.messages.shown.front();
    const std::string pdf = ReadAll(file);
    ASSERT_TRUE(pdf.starts_with("%PDF"));
    EXPECT_EQ(PdfPageCount(pdf), 2u);
    const std::string text = PdfText(file);
    EXPECT_NE(text.find("Resumo do Envio"), std::string::npos) << text;
    EXPECT_NE(text.find("segunda folha"), std::string::npos) << text;
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"impresso.pdf"});
}

TEST(GraphicPrinting, TooLargeForThePaperIsReducedByOneFactor) {
    TempDir dir;
    PdfSummary summary(dir.File("carta.pdf"), QPageSize::Letter);
    TRelGrade& rel = summary.r.rel;
    ASSERT_TRUE(rel.Abrir());
    rel.Imp(1, 1, "x");
    ASSERT_TRUE(rel.Fechar());
    const Placement& p = summary.output.LastPlacement();
    EXPECT_GT(p.scale, 1);
    EXPECT_LE(p.width, p.availableWidth);
    EXPECT_LE(p.height, p.availableHeight);
    // One factor for both directions: the proportions of 8 by 11 stay.
    EXPECT_NEAR(static_cast<double>(p.width) / p.height, 8.0 / 11.0, 0.002);
    EXPECT_EQ(p.height, static_cast<int>(p.naturalHeight / p.scale));
}

TEST(GraphicPrinting, APrinterThatCannotStartSaysSo) {
    TempDir dir;
    PdfSummary summary(dir.File("sem-pasta/resumo.pdf"), QPageSize::A4);
    TRelGrade& rel = summary.r.rel;
    bool printed = false;
    rel.OnAfterPrint = [&](TRelGrade&) { printed = true; };
    ASSERT_TRUE(rel.Abrir());
    rel.Imp(1, 1, "x");
    rel.Fechar();
    ASSERT_EQ(summary.r.messages.shown.size(), 1u);
    EXPECT_EQ(summary.r.messages.shown[0], "Não foi possível iniciar a impressão.");
    EXPECT_FALSE(printed);
}
