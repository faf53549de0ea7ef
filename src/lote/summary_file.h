#pragma once
// The batch run's sending summary as a file: the report the window's
// Imprimir previews, laid out on the same grid, saved as the preview saves
// it (PDF through Qt's PDF writer, or the preview's plain text), into a
// temporary file renamed into place. PDF needs a QGuiApplication.
#include "lote/lote_command_line.h"
#include "report/layouts/sending_summary.h"

#include <functional>
#include <string>
#include <vector>

namespace nfp {

// Writes the summary of `rows` (at least one) issued on `issueDate`. The
// report engine's messages go to `tell`, on one line each. True when the
// file is in place.
bool WriteSummaryFile(const std::vector<SummaryRow>& rows, const std::string& issueDate, const SummaryTarget& target,
                      const std::function<void(const std::string&)>& tell);

} // namespace nfp
