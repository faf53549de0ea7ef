#pragma once
// The taxpayer profiles a registry export holds: keys whose last two
// components are "Zeltra" and a CNPJ, under any root, with the values
// "Usuario", "Senha" and "Caminho" (scrambled strings) and "Tipo" (a dword).
#include "profiles/registry_export.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nfp {

struct RegistryProfile {
    std::string cnpj;    // the key's last component: 14 digits
    std::string keyPath; // the whole key, as written in the file
    // Unscrambled, in UTF-8; a missing text is empty. `caminho` is the
    // folder as Windows named it.
    std::string usuario;
    std::string senha;
    std::optional<std::int32_t> tipo; // none when missing or not a dword
    std::string caminho;
    // Why the profile cannot be imported (Portuguese); empty when it can.
    std::vector<std::string> problems;
    // An earlier key of the file has the same CNPJ.
    bool repeated = false;
};

// The profiles in file order. A key written more than once (the same path,
// letter case aside) is one profile whose later values win, and deletions
// ("[-...]", "name"=-) take away what came before them, as when the editor
// imports the file. Strings are taken back to the Windows-1252 bytes
// the program stored (the five bytes Windows-1252 leaves undefined come
// back as themselves) and unscrambled as a load does.
std::vector<RegistryProfile> FindRegistryProfiles(const RegistryExport& file);

} // namespace nfp
