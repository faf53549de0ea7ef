#pragma once
// Loading, saving and removing profiles: the profile table on one side,
// the store on the other.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/profile_store.h"
#include "util/memory_table.h"

namespace nfp {

// A profile value that would not come back as it was typed, refused before
// anything is written. field() is the value's name: "CNPJ", "Usuario",
// "Senha" or "Caminho".
class ProfileRefused : public std::runtime_error {
public:
    ProfileRefused(std::string field, const std::string& message)
        : std::runtime_error(message), field_(std::move(field)) {}
    const std::string& field() const noexcept { return field_; }
private:
    std::string field_;
};

// A profile as the program works with it: texts in UTF-8, decoded.
struct ProfileValues {
    std::string cnpj;
    std::string usuario;
    std::string senha;
    std::int32_t tipo = 0;
    std::string caminho;
    bool enviar = true; // marked for batch sending
};

struct ProfileLoadFailure {
    std::string cnpj;    // empty when the store as a whole could not be read
    std::string message; // the store's message, e.g. "Failed to get data for 'Tipo'"
};

// "C.N.P.J. <cnpj>: <message>", or the message alone without a CNPJ.
std::string ProfileLoadFailureText(const ProfileLoadFailure& failure);

// Appends one row per readable stored profile to `table` (a CDS_Registros
// layout), in the store's order. ENVIAR is the stored mark, "S" for a
// profile stored without one (as every profile was before the mark was
// kept). A profile that cannot be read
// adds no row and does not stop the others; the failures come back in the
// order met.
std::vector<ProfileLoadFailure> LoadProfiles(ProfileStore& store, MemoryTable& table);

// What the store holds for one CNPJ, decoded as LoadProfiles decodes it
// (whole, not cut to the table's widths); nothing when the key does not
// exist. Store failures throw StoreError.
std::optional<ProfileValues> ReadProfile(ProfileStore& store, std::string_view cnpj);

// A stored text as a load gives it back: read up to its first zero byte,
// unscrambled, in UTF-8.
std::string DecodedProfileText(std::string_view stored);

// Assigns the six fields of the table's row being edited or appended (a
// CDS_Registros layout); texts longer than their fields are cut.
void SetProfileRow(MemoryTable& table, const ProfileValues& profile);

// Throws ProfileRefused when a value cannot be stored so that it loads back
// the same: a CNPJ that is empty, longer than 14 characters or holds a
// slash, a backslash, a control character or a character outside
// Windows-1252; a user name, password or folder that begins with a blank
// or control character, holds a character outside Windows-1252, or whose
// scrambled form would be trimmed or cut at a zero byte when read.
void CheckStorableProfile(std::string_view cnpj, std::string_view usuario, std::string_view senha,
                          std::string_view caminho);

// Writes the whole profile (user name, password and folder scrambled, and
// the mark for batch sending), creating or overwriting its key. Refused
// values throw ProfileRefused and write nothing; store failures throw
// StoreError.
void SaveProfile(ProfileStore& store, std::string_view cnpj, std::string_view usuario, std::string_view senha,
                 std::int32_t tipo, std::string_view caminho, bool enviar = true);

void SaveProfile(ProfileStore& store, const ProfileValues& profile);

// Stores the mark for batch sending of a stored profile, the rest of it
// untouched. A profile that is not stored, or a CNPJ that cannot name one,
// throws StoreError "Failed to set data for 'Enviar'".
void SaveSendMark(ProfileStore& store, std::string_view cnpj, bool enviar);

// Removes the profile's key. A CNPJ that cannot name a key (empty, with a
// slash or backslash) removes nothing. Store failures throw StoreError.
void RemoveProfile(ProfileStore& store, std::string_view cnpj);

} // namespace nfp
