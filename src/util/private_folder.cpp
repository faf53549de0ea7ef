#include "util/private_folder.h"

#include <cerrno>
#include <sys/stat.h>

namespace nfp {

int MakePrivateFolders(const std::filesystem::path& folder)
{
    if (folder.empty())
        return 0;
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT)
        return errno;
    if (folder.has_parent_path() && folder.parent_path() != folder)
        if (const int error = MakePrivateFolders(folder.parent_path()); error != 0)
            return error;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return errno;
    return 0;
}

} // namespace nfp
