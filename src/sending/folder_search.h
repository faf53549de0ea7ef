#pragma once
// Finding the entries of one folder that match a file pattern: files,
// hidden entries and sub-folders alike, without descending into them.
#include <string>
#include <string_view>
#include <vector>

namespace nfp {

// Names of the matching entries, in the order the file system lists them.
// A folder that does not exist or cannot be read gives none.
std::vector<std::string> FindFolderEntries(std::string_view folder, std::string_view pattern);

} // namespace nfp
