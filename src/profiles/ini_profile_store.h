#pragma once
// Profiles in an INI file: one group per CNPJ with the byte arrays Usuario,
// Senha and Caminho, the integer Tipo and the text Enviar ("S" or "N").
#include <string>

#include "profiles/profile_store.h"

namespace nfp {

class IniProfileStore final : public ProfileStore {
public:
    // The file path in UTF-8.
    explicit IniProfileStore(std::string filePath);

    // $XDG_CONFIG_HOME/Zeltra/NFP.ini (~/.config/Zeltra/NFP.ini by default),
    // the user's configuration folder elsewhere.
    static std::string DefaultFilePath();

    const std::string& FilePath() const noexcept { return path_; }

    std::vector<std::string> ProfileKeys() override;
    std::optional<StoredProfile> Read(std::string_view cnpj) override;
    // The file is created readable by its owner only; it is replaced by a
    // whole new one, never rewritten in place.
    void Write(std::string_view cnpj, const StoredProfile& profile) override;
    void WriteSendMark(std::string_view cnpj, bool enviar) override;
    void Remove(std::string_view cnpj) override;

private:
    std::string path_;
};

} // namespace nfp
