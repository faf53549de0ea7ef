#pragma once
// Issued protocols survive a restart of the local service: one line per
// protocol in its data folder, appended as they are issued.
#include <filesystem>
#include <vector>

#include "file_service.h"

namespace nfp::servico {

// An absent file gives no protocols; unreadable lines are skipped.
std::vector<IssuedProtocol> LoadProtocols(const std::filesystem::path& file);
void AppendProtocol(const std::filesystem::path& file, const IssuedProtocol& protocol);

} // namespace nfp::servico
