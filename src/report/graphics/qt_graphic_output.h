#pragma once
// The graphic route on a Qt printer: every page drawn as the page picture
// and stretched into its place within the margins.
#include <QPainter>
#include <QPrinter>
#include <memory>

#include "report/engine/graphic_output.h"
#include "report/engine/graphic_placement.h"
#include "util/replacing_file.h"

namespace nfp {

// What the printer tells of its page, in device pixels.
DeviceMetrics MetricsOf(QPrinter& printer);

class QtGraphicOutput : public GraphicOutput {
public:
    // Prints on the platform's printer named by each job (CUPS through Qt),
    // or into the job's PDF file: written beside it under a temporary name
    // and renamed into place at the end.
    QtGraphicOutput() = default;
    // Prints on a printer set up by the caller (a PDF file in tests).
    explicit QtGraphicOutput(QPrinter& printer) : fixed_(&printer) {}

    bool Begin(const GraphicJobSettings& settings) override;
    void NewPage() override;
    void PrintPage(TRelGrade& engine, int page) override;
    bool End() override;

    // Where the last page went.
    const Placement& LastPlacement() const { return last_; }

private:
    QPrinter* printer() { return fixed_ ? fixed_ : own_.get(); }

    QPrinter* fixed_ = nullptr;
    std::unique_ptr<QPrinter> own_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<ReplacingFile> file_;
    Placement last_;
};

} // namespace nfp
