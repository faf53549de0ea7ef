#include "report/graphics/qt_graphic_output.h"

#include <QPageLayout>

#include "report/graphics/page_picture.h"
#include "report/engine/rel_grade.h"

namespace nfp {

DeviceMetrics MetricsOf(QPrinter& printer) {
    return PageMetrics(printer.pageLayout(), printer.resolution(), printer.logicalDpiX(), printer.logicalDpiY());
}

bool QtGraphicOutput::Begin(const GraphicJobSettings& settings) {
    file_.reset();
    if (!fixed_) {
        own_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (!settings.outputFile.empty()) {
            int error = 0;
            file_ = ReplacingFile::Create(settings.outputFile, error);
            if (!file_) return false;
            file_->HandOver();
            own_->setOutputFormat(QPrinter::PdfFormat);
            own_->setOutputFileName(QString::fromStdString(file_->TempPath().string()));
            own_->setPageSize(QPageSize(QPageSize::A4));
        } else if (!settings.printerName.empty()) {
            own_->setPrinterName(QString::fromStdString(settings.printerName));
        }
    }
    QPrinter* p = printer();
    p->setPageOrientation(settings.orientation == TPrinterOrientation::poLandscape ? QPageLayout::Landscape
                                                                                     : QPageLayout::Portrait);
    p->setDocName(QString::fromStdString(settings.title));
    p->setCopyCount(1);
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(p)) {
        painter_.reset();
        file_.reset();
        return false;
    }
    return true;
}

void QtGraphicOutput::NewPage() {
    if (painter_) printer()->newPage();
}

void QtGraphicOutput::PrintPage(TRelGrade& rel, int page) {
    if (!painter_) return;
    last_ = PaintPlacedPage(*painter_, MetricsOf(*printer()), rel, page);
}

bool QtGraphicOutput::End() {
    bool ended = !painter_ || painter_->end();
    painter_.reset();
    own_.reset();
    if (file_) ended = ended && file_->Commit();
    file_.reset();
    return ended;
}

} // namespace nfp
