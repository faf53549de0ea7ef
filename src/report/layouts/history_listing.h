#pragma once
// The send history as printed from the history window, on the main window's
// report component (88 lines of 96 columns): under a page header with the
// date of issue, the filter and the page, one block per journal row (date
// and time, CNPJ, operation, file, protocol, situation) followed by its
// whole result text in lines of up to 76 characters broken between words.
// A block that reaches the foot of a page goes on on the next one.
#include "journal/history_line.h"
#include "report/engine/rel_grade.h"

#include <string>
#include <vector>

namespace nfp {

inline constexpr const char* kHistoryTitle = "Histórico de Envios das Notas Fiscais Paulista";

// Abrir and the whole layout, up to the closing dash line; Fechar is left to
// the caller. No rows: SilentAbort, nothing opened.
void LayOutHistoryListing(TRelGrade& rel, const std::vector<HistoryLine>& lines, const std::string& issueDate,
                          const std::string& filterText);

} // namespace nfp
