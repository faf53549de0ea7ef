#pragma once
// Querying protocol numbers: one typed by the user, or every protocol of the
// results table again. Each query is one exchange of the journal.
#include "journal/exchange_recorder.h"
#include "sending/send_run.h"
#include "util/memory_table.h"

#include <functional>
#include <string>
#include <string_view>

namespace nfp {

inline constexpr std::string_view kQueryLogSeparator = "-----------------------";

// The result text of a Consultar of `protocolo` with `credentials`, decoded
// for showing; `arquivo` and `pasta` name the file it was issued to, when
// known, for the journal. Transport failures throw EServiceHttpError after
// being journaled. A query is journaled "aceito" when the service answered
// with a result text, "recusado" when its reply carried none.
std::string QueryProtocol(const ServiceCredentials& credentials, ServicePoster& poster, ExchangeRecorder& journal,
                          std::string_view protocolo, std::string_view arquivo = {}, std::string_view pasta = {});

// The credentials a results row is queried with, given the CNPJ it was sent
// for.
using CredentialsForCnpj = std::function<ServiceCredentials(const std::string& cnpj)>;

// Re-queries every row of the results table in its order, each with the
// credentials `credentialsFor` gives for the row's CNPJ, and replaces each
// row's Resultado. A failure ends it on the failing row, which keeps its old
// text, as do the rows after it.
void Reconsultar(MemoryTable& results, QueryView& view, ServicePoster& poster, ExchangeRecorder& journal,
                 const CredentialsForCnpj& credentialsFor);

} // namespace nfp
