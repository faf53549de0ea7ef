#pragma once
// Where a folder a profile named on Windows ("C:\NFP\LOJA1\") is on this
// computer: below a base folder the user names, the drive dropped. Plain
// C++; the folders on disk come through a function.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nfp {

// The names of the folders directly inside `folder` (UTF-8, ending with
// "/"); empty when it does not exist.
using SubfolderNames = std::function<std::vector<std::string>(const std::string& folder)>;

// `base` (given one trailing "/") + the Windows folder's components joined
// by "/", with a trailing "/". The drive ("C:"), a share ("\\server\share")
// or a "\\?\" prefix is dropped; "\" and "/" both separate; empty and "."
// components are dropped and ".." takes back the one before (never above
// the base). Each component keeps the letter case of a folder on disk whose
// name differs only in case (the exact name first, then the first in
// sorting order); where none exists the Windows name stays as it is.
std::string MapWindowsFolder(std::string_view windowsFolder, std::string_view base, const SubfolderNames& disk);

// Letter case folded as Windows compares file names, for the Latin letters
// Windows-1252 holds: "Ação" and "AÇÃO" fold alike.
std::string FoldedCase(std::string_view utf8);

} // namespace nfp
