#pragma once
// Querying protocol numbers: one typed by the user, or every protocol of the
// results table again.
#include "sending/send_run.h"
#include "util/memory_table.h"

#include <string>
#include <string_view>

namespace nfp {

inline constexpr std::string_view kQueryLogSeparator = "-----------------------";

// The result text of a Consultar of `protocolo`, decoded for showing.
// Transport failures throw EServiceHttpError.
std::string QueryProtocol(QueryView& view, ServicePoster& poster, std::string_view protocolo);

// Re-queries every row of the results table in its order and replaces each
// row's Resultado. A failure ends it on the failing row, which keeps its old
// text, as do the rows after it.
void Reconsultar(MemoryTable& results, QueryView& view, ServicePoster& poster);

} // namespace nfp
