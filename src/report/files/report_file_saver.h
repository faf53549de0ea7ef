#pragma once
// Saving the open report as a file, in the four forms the preview offers,
// and loading a saved report in place of the open one.
//
// A save is written to a temporary file in the chosen folder and renamed
// over the chosen name only once it is complete: a save that fails or is
// cancelled leaves the folder as it was, including a report saved there
// before. Failures are told through the engine's message box; the progress
// window (when the engine has one) shows while a file is written or read.
#include "report/engine/report_messages.h"

#include <string>
#include <string_view>

namespace nfp {

class TRelGrade;

inline constexpr const char* kMsgErroAbertura = "Erro na abertura do arquivo...\r\rArquivo: ";
inline constexpr const char* kMsgErroRegistroControle = "Erro na grava\xC3\xA7\xC3\xA3o do Registro de Controle...";
inline constexpr const char* kMsgModoGrafico = "Desculpe, mas o modo gr\xC3\xA1" "fico n\xC3\xA3o esta dispon\xC3\xADvel...";

// The file types of the save dialog, in the order of its filters.
enum class SaveFileType { Relatorio, Impressao, Texto, Pdf };

// The chosen name with its extension replaced by that of the type (".RGR",
// ".PRN", ".TXT", ".PDF"). A name that already has that extension, in any
// letter case, is kept as chosen.
std::string SaveFileName(std::string_view chosen, SaveFileType type);

// What the preview's save button runs once the user has confirmed the save
// dialog: the name rule above, then one of the three saves. True when a file
// was written.
bool SaveReport(TRelGrade& rel, std::string_view chosenName, SaveFileType type);

// Each fires OnBeforeNewPage for a page still open and OnSave with the name
// (a handler that empties it cancels the save). True when the file was
// written.
bool SaveAsReportFile(TRelGrade& rel, std::string fileName);
// Prints the report into the file on the route of the printer model (the
// setup's pages, copies and order apply); refused for the graphic model.
bool SaveAsPrinterData(TRelGrade& rel, std::string fileName);
bool SaveAsPlainText(TRelGrade& rel, std::string fileName);
// Every page as the graphic printing lays it out, through the engine's PDF
// service (nothing is saved without one); the progress window counts pages.
bool SaveAsPdf(TRelGrade& rel, std::string fileName);

// What the preview's open button runs once the user has picked a file:
// fires OnLoad (an emptied name cancels), reads the file and, when it has
// been read to its end, replaces the open report's items and its title,
// page size and default font, and prepares the printer model for them. A
// file that does not read, or a load the user cancels, leaves the open
// report as it was. True when the report was replaced (also when the item
// count did not match the file's control record, which is reported).
bool LoadReportFile(TRelGrade& rel, std::string fileName);

} // namespace nfp
