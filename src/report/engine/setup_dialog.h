#pragma once
// The printer setup dialog behind TRelGrade::Setup (implemented by the Qt
// dialog TFRMsetup in f_setup.*).
//
// The engine fills a SetupRequest from its state and calls Exec modally.
// While the dialog is up, every change of the printer choice (selection
// change, focus leaving the list, showing, after the properties button)
// calls engine.DetectaModelo(upper-cased printer name), which at once sets
// engine.Impressora and its control sequences; the model list then shows
// engine.Impressora. The user may then pick another model by hand.
//
// OK returns the choices; the engine then makes `printer` the current
// printer, takes its port, and applies the rest (pages, filter, copies,
// collation, order, preview, model). Cancel returns nullopt; outside the
// preview the engine then gives the report up.
// An OK with a copies field that is no number must not return: the dialog
// says so and stays open, with nothing applied.
#include <optional>
#include <string>
#include <vector>

#include "report/engine/report_types.h"

namespace nfp {

class TRelGrade;

enum class SetupPageRange { Todas, Atual, Selecao };

struct SetupRequest {
    std::string caption;                 // CaptionSetup
    TColor formColor = clBtnFace;        // CorForm
    TColor fontColor = clBlack;          // CorFonte
    std::vector<std::string> printers;   // the platform's printers
    std::string currentPrinter;          // selected at first; may be empty
    std::string outputFile;              // ArquivoGrafico: a PDF file chosen before, selected instead
    TModelo model = TModelo::Epson;      // Impressora
    std::string customModelName;         // ImpressoraPersonalizada.NomeImpressora
    bool preview = false;                // OpcoesPreview.Preview
    bool previewActive = false;          // chkPreview is enabled only when false
    int copies = 1;
    std::string pageSelection;           // empty: chkTodas checked
    int oddEven = 0;                     // 0 all, 1 odd, 2 even (EdParImpar's index)
    bool collate = true;
    bool reverse = false;
};

struct SetupChoices {
    std::string printer;                 // becomes the current printer (empty: unchanged)
    std::string outputFile;              // becomes ArquivoGrafico: a PDF file, or empty for the printer
    TModelo model = TModelo::Epson;
    SetupPageRange range = SetupPageRange::Todas;
    std::string pages;                   // EdPaginas, used with Selecao
    int oddEven = 0;
    bool collate = true;
    bool reverse = false;
    bool preview = false;
    int copies = 1;                      // 0 prints nothing; up to 9999
};

class SetupDialog {
public:
    virtual ~SetupDialog() = default;
    virtual std::optional<SetupChoices> Exec(TRelGrade& engine, const SetupRequest& request) = 0;
};

} // namespace nfp
