#pragma once
// The graphic route: pages drawn as pictures on a printer of the platform.
#include <string>

#include "report/engine/report_types.h"

namespace nfp {

class TRelGrade;

struct GraphicJobSettings {
    TPrinterOrientation orientation = TPrinterOrientation::poPortrait;
    std::string title;
    std::string printerName; // the engine's current printer; empty for the default
    // A PDF file to print into instead of the printer (Qt's PDF printer
    // chosen in the printer properties); empty for the printer.
    std::string outputFile;
};

class GraphicOutput {
public:
    virtual ~GraphicOutput() = default;
    // False when the document could not be started.
    virtual bool Begin(const GraphicJobSettings& settings) = 0;
    virtual void NewPage() = 0;
    // Draws page `page` of the engine's report onto the current printer page.
    virtual void PrintPage(TRelGrade& engine, int page) = 0;
    // False when the output could not be completed (a PDF file that could
    // not be put in place).
    virtual bool End() = 0;
};

} // namespace nfp
