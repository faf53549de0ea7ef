#pragma once
// The journal's rows as a CSV file that a Brazilian spreadsheet opens
// without asking: UTF-8 with a byte-order mark, ";" between fields, CR LF
// line ends, a field quoted when it holds ";", a quote, a line break or
// blanks at its ends. The first line names the journal's columns.
#include "journal/journal_entry.h"

#include <string>
#include <vector>

namespace nfp {

// One field as written: quoted (with quotes doubled) only where needed.
std::string CsvField(const std::string& value);

std::string JournalCsv(const std::vector<JournalRow>& rows);

// Writes the CSV to `file` (UTF-8 name) through a temporary file in the same
// folder renamed into place: a failed export leaves what was there. Throws
// JournalError with the reason in Portuguese.
void ExportJournalCsv(const std::string& file, const std::vector<JournalRow>& rows);

} // namespace nfp
