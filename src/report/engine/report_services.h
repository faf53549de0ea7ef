#pragma once
// What the platform lends the report engine. The application fills every
// member once; a member left empty makes the engine skip that service
// (no message shown, no progress window, no route to print on).
#include <chrono>
#include <functional>

#include "report/engine/graphic_output.h"
#include "report/engine/pdf_output.h"
#include "report/engine/preview_window.h"
#include "report/engine/printer_system.h"
#include "report/engine/progress_window.h"
#include "report/engine/report_messages.h"
#include "report/engine/setup_dialog.h"
#include "report/engine/text_job.h"
#include "util/regional_settings.h"

namespace nfp {

struct LocalDateTime {
    Date date;
    std::chrono::hh_mm_ss<std::chrono::seconds> time{std::chrono::seconds{0}};
};

// The machine's local date and time.
LocalDateTime SystemLocalDateTime();

struct ReportServices {
    ReportMessages* messages = nullptr;
    PrinterSystem* printers = nullptr;
    TextJobRoute* spooler = nullptr;    // text models with UsaGerenciadorImpr
    TextJobRoute* directPort = nullptr; // text models writing PortaComunicacao
    GraphicOutput* graphic = nullptr;   // model Grafico
    SetupDialog* setupDialog = nullptr;
    ProgressWindowFactory* progress = nullptr;
    PreviewWindow* preview = nullptr;
    PdfOutput* pdf = nullptr;           // saving as a PDF document
    // Lets pending window messages through (long loops call it between items).
    std::function<void()> processEvents;
    // For the &HORA& and &DATA& macros.
    std::function<LocalDateTime()> clock = SystemLocalDateTime;
};

} // namespace nfp
