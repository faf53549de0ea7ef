#pragma once
// The send queue (CDS_Enviar): rows of a file name and the folder that holds
// it, kept in name order by the table itself.
#include "util/memory_table.h"

#include <string>
#include <string_view>
#include <vector>

namespace nfp {

// Appends and stores one row; values longer than the fields are cut.
void AppendQueueRow(MemoryTable& queue, std::string_view arquivo, std::string_view caminho);

// The folder with one trailing "/" added when it has none ("/" stays "/").
std::string FolderWithSeparator(std::string_view folder);

// The file a queue row stands for: its folder followed by its name.
std::string QueuedFilePath(const MemoryTable& queue);

// Whether a file name matches a month pattern such as "*.?39": "*" any run
// of characters, "?" exactly one, other characters compared without regard
// to letter case, as file names match on the platform the files come from.
bool MatchesFilePattern(std::string_view name, std::string_view pattern);

} // namespace nfp
