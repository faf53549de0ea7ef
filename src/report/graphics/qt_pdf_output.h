#pragma once
// The report's pages as a PDF document through Qt's PDF writer. Needs only
// Qt Gui: it works under a QGuiApplication on any platform plugin, the
// offscreen one included, so a program without windows can write it.
#include <QPageSize>

#include "report/engine/pdf_output.h"

namespace nfp {

class QtPdfOutput final : public PdfOutput {
public:
    // Sheets of this size (A4 unless told otherwise), in the engine's
    // orientation, with the engine's margins laid out by the graphic
    // printing; the sheet itself has no unprintable strip.
    explicit QtPdfOutput(QPageSize paper = QPageSize(QPageSize::A4)) : paper_(std::move(paper)) {}

    bool Write(TRelGrade& engine, const std::string& path, const std::vector<int>& pages,
               const std::function<bool()>& afterPage) override;

private:
    QPageSize paper_;
};

} // namespace nfp
