#include "report/qt_graphic_output.h"

#include <QPageLayout>

#include "report/page_picture.h"
#include "report/rel_grade.h"

namespace nfp {

DeviceMetrics MetricsOf(QPrinter& printer) {
    const int resolution = printer.resolution();
    const QPageLayout layout = printer.pageLayout();
    const QRect full = layout.fullRectPixels(resolution);
    const QRect paint = layout.paintRectPixels(resolution);
    DeviceMetrics m;
    m.physicalWidth = full.width();
    m.physicalHeight = full.height();
    m.printableWidth = paint.width();
    m.printableHeight = paint.height();
    m.dpiX = printer.logicalDpiX();
    m.dpiY = printer.logicalDpiY();
    m.offsetX = paint.left() - full.left();
    m.offsetY = paint.top() - full.top();
    return m;
}

bool QtGraphicOutput::Begin(const GraphicJobSettings& settings) {
    if (!fixed_) {
        own_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (!settings.printerName.empty()) own_->setPrinterName(QString::fromStdString(settings.printerName));
    }
    QPrinter* p = printer();
    p->setPageOrientation(settings.orientation == TPrinterOrientation::poLandscape ? QPageLayout::Landscape
                                                                                     : QPageLayout::Portrait);
    p->setDocName(QString::fromStdString(settings.title));
    p->setCopyCount(1);
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(p)) {
        painter_.reset();
        return false;
    }
    return true;
}

void QtGraphicOutput::NewPage() {
    if (painter_) printer()->newPage();
}

void QtGraphicOutput::PrintPage(TRelGrade& rel, int page) {
    if (!painter_) return;
    last_ = PlacePage(MetricsOf(*printer()), rel.Margens, rel.TamanhoQteColunas, rel.TamanhoQteLinhas,
                      rel.FonteTamanhoPadrao, rel.TamanhoQteLPP);
    // A cancel while drawing leaves the rest undrawn; what was drawn still
    // goes on the page.
    const QPicture picture = DrawPagePicture(rel, page, PictureMode::Print);
    StretchPicture(*painter_, picture, QRectF(last_.left, last_.top, last_.width - 1, last_.height - 1));
}

void QtGraphicOutput::End() {
    if (painter_) painter_->end();
    painter_.reset();
    own_.reset();
}

} // namespace nfp
