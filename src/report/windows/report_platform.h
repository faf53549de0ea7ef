#pragma once
// Everything the report engine needs from this platform, in one place for
// the application: CUPS printers and raw jobs, direct ports, graphic
// printing and PDF documents through Qt, the setup, progress and preview
// windows, and the message boxes the application supplies.
//
//   ReportPlatform platform(messages);   // lives as long as the engine
//   platform.Attach(RelGrade);
//   ConfigureSendingSummaryEngine(RelGrade);
//   ... BitBtn_ImprimirClick: PrintSendingSummary(RelGrade, CDS_Enviados, today, settings);
#include <QLocale>

#include <functional>
#include <string>

#include "report/print/cups_printer_system.h"
#include "report/print/cups_spooler_route.h"
#include "report/print/direct_port_route.h"
#include "report/windows/f_previ.h"
#include "report/windows/f_progr.h"
#include "report/windows/f_setup.h"
#include "report/engine/number_mask.h"
#include "report/graphics/qt_graphic_output.h"
#include "report/graphics/qt_pdf_output.h"
#include "report/engine/report_messages.h"

namespace nfp {

// Message boxes through two callbacks (the application's message dialog).
class CallbackReportMessages : public ReportMessages {
public:
    CallbackReportMessages(std::function<void(const std::string&)> show,
                           std::function<bool(const std::string&)> confirm)
        : show_(std::move(show)), confirm_(std::move(confirm)) {}
    void ShowMessage(const std::string& text) override {
        if (show_) show_(text);
    }
    bool Confirm(const std::string& question) override { return confirm_ && confirm_(question); }

private:
    std::function<void(const std::string&)> show_;
    std::function<bool(const std::string&)> confirm_;
};

// The user's decimal and thousands separators, for ImpNum and &PAGE&.
NumberSeparators LocaleNumberSeparators(const QLocale& locale);

class ReportPlatform {
public:
    explicit ReportPlatform(ReportMessages& messages) : messages_(messages) {}
    ReportPlatform(const ReportPlatform&) = delete;
    ReportPlatform& operator=(const ReportPlatform&) = delete;

    // Fills every service of the engine and takes the number separators of
    // the user's locale; pending window messages are let through with
    // QCoreApplication::processEvents.
    void Attach(TRelGrade& rel);

    CupsPrinterSystem& Printers() { return printers_; }

private:
    ReportMessages& messages_;
    CupsPrinterSystem printers_;
    CupsSpoolerRoute spooler_;
    DirectPortRoute direct_;
    QtGraphicOutput graphic_;
    QtSetupDialog setup_;
    QtProgressWindowFactory progress_;
    QtPreviewWindow preview_;
    QtPdfOutput pdf_;
};

} // namespace nfp
