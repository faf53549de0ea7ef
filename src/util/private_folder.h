#pragma once
// Folders of the user's own data (the send journal, the batch command's
// lock), made readable by their owner only.
#include <filesystem>

namespace nfp {

// Creates the missing folders of `folder`, each with mode 0700; folders
// that exist are left as they are. Returns 0, or the system's error number
// (ENOTDIR when a part of the path is not a folder).
int MakePrivateFolders(const std::filesystem::path& folder);

} // namespace nfp
