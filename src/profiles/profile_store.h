#pragma once
// Where profiles outlive the program: one entry per CNPJ under the profile
// root, holding the scrambled user name, password and folder and the
// category. A backend opens the store for each call and closes it after.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace nfp {

// The store layer's own failures: "Failed to set data for '%s'",
// "Failed to get data for '%s'", "Invalid data type for '%s'".
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The values of a profile as stored: the three texts are the scrambled
// Windows-1252 bytes. `enviar` is the mark for batch sending ("Enviar",
// "S" or "N"); a profile stored without it reads as nullopt.
struct StoredProfile {
    std::string usuario;
    std::string senha;
    std::int32_t tipo = 0;
    std::string caminho;
    std::optional<bool> enviar;
};

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // The CNPJs (UTF-8) of the stored profiles, in the store's order.
    virtual std::vector<std::string> ProfileKeys() = 0;
    // No profile when the key does not exist. A missing text reads as
    // empty; a missing Tipo or a value of the wrong type throws StoreError.
    virtual std::optional<StoredProfile> Read(std::string_view cnpj) = 0;
    // Creates or overwrites the values, all of them or none; an `enviar`
    // of nullopt leaves the stored mark as it is.
    virtual void Write(std::string_view cnpj, const StoredProfile& profile) = 0;
    // Overwrites the mark of an existing profile alone; a missing key
    // throws StoreError, as a mark without a profile would load as none.
    virtual void WriteSendMark(std::string_view cnpj, bool enviar) = 0;
    // Removes the key with everything under it; a missing key is no error.
    virtual void Remove(std::string_view cnpj) = 0;
};

} // namespace nfp
