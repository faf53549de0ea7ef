#pragma once
// The summary of the sending results printed from the Resultado tab: one
// block per sent file (name, folder, the service's reply in slices of 80
// characters) under a page header with the date of issue and the page.
#include <string>
#include <vector>

#include "report/engine/rel_grade.h"
#include "util/memory_table.h"
#include "util/regional_settings.h"

namespace nfp {

struct SummaryRow {
    std::string arquivo;
    std::string caminho;
    std::string resultado;
};

// The settings of the main window's report component: an 88-line page of
// 96 columns at 12 cpi and 8 lpi, previewed first. Call once when the
// component is created (later Abrir calls adapt the model to the printer).
void ConfigureSendingSummaryEngine(TRelGrade& rel);

// "dd/mm/yyyy, <weekday>" in the user's short date and day names.
std::string SummaryIssueDate(const Date& today, const RegionalSettings& rs);

// The rows of CDS_Enviados in table order; the cursor is not moved.
std::vector<SummaryRow> SummaryRowsOf(const MemoryTable& results);

// Abrir and the whole layout, up to the closing dash line; Fechar is left
// to the caller. No rows: SilentAbort, nothing opened.
void LayOutSendingSummary(TRelGrade& rel, const std::vector<SummaryRow>& rows, const std::string& issueDate);

// BitBtn_ImprimirClick: lays the results out and closes the report, which
// opens the preview (or prints, when the setup turned the preview off).
// An empty table ends in SilentAbort.
void PrintSendingSummary(TRelGrade& rel, const MemoryTable& results, const Date& today, const RegionalSettings& rs);

} // namespace nfp
