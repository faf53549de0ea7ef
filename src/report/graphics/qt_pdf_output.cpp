#include "report/graphics/qt_pdf_output.h"

#include <QPainter>
#include <QPdfWriter>

#include "report/graphics/page_picture.h"
#include "report/engine/rel_grade.h"

namespace nfp {

namespace {

// Fine enough for the character grid, small enough for quick files.
constexpr int kPdfResolution = 600;

} // namespace

bool QtPdfOutput::Write(TRelGrade& rel, const std::string& path, const std::vector<int>& pages,
                        const std::function<bool()>& afterPage) {
    QPdfWriter writer(QString::fromStdString(path));
    writer.setResolution(kPdfResolution);
    writer.setTitle(QString::fromStdString(rel.TitulodoRelatorio));
    writer.setCreator(QStringLiteral("nfp-envio"));
    writer.setPageLayout(QPageLayout(paper_,
                                     rel.Orientacao == TPrinterOrientation::poLandscape ? QPageLayout::Landscape
                                                                                       : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    const DeviceMetrics metrics =
        PageMetrics(writer.pageLayout(), writer.resolution(), writer.logicalDpiX(), writer.logicalDpiY());
    bool first = true;
    for (const int page : pages) {
        if (!first && !writer.newPage()) return false;
        first = false;
        PaintPlacedPage(painter, metrics, rel, page);
        if (afterPage && afterPage()) break;
    }
    return painter.end();
}

} // namespace nfp
