#pragma once
// A journal row as the history window and its printed listing show it.
#include "journal/journal_entry.h"
#include "util/regional_settings.h"

#include <string>

namespace nfp {

struct HistoryLine {
    std::string dataHora; // the local date and time in the user's short date and time
    std::string cnpj;
    std::string operacao;
    std::string arquivo;
    std::string protocolo;
    std::string situacao;
    std::string resultado;
};

// `quando` ("2026-12-10T15:40:11-03:00") as the user's date and time,
// "10/12/2026 15:40:11"; a text that is not such a time is shown as it is.
std::string QuandoText(const std::string& quando, const RegionalSettings& rs);

HistoryLine HistoryLineOf(const JournalEntry& entry, const RegionalSettings& rs);

} // namespace nfp
