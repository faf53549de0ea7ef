#include "sending/folder_search.h"

#include "sending/send_queue.h"

#include <filesystem>
#include <system_error>

namespace nfp {

std::vector<std::string> FindFolderEntries(std::string_view folder, std::string_view pattern)
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::path(std::string(folder)), ec);
    if (ec)
        return names;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            break;
        std::string name = it->path().filename().string();
        if (MatchesFilePattern(name, pattern))
            names.push_back(std::move(name));
    }
    return names;
}

} // namespace nfp
