#include "profiles/profile_operations.h"

#include "profiles/profile_codec.h"
#include "util/text_codec.h"

#include <optional>

namespace nfp {
namespace {

constexpr std::size_t kCnpjWidth = 14;

bool IsBlankOrControl(unsigned char c) { return c <= 32; }

std::string CharacterText(char32_t cp) {
    std::string s;
    AppendUtf8(s, cp);
    return s;
}

// The Windows-1252 form of a value, or the refusal naming its field.
std::string SingleByteForm(const std::string& field, const std::string& label, std::string_view utf8) {
    try {
        return Utf8ToWindows1252(utf8);
    } catch (const TextConversionError& e) {
        if (e.codePoint() == 0) throw ProfileRefused(field, label + ": o texto não é UTF-8 válido.");
        throw ProfileRefused(field, label + ": o caractere '" + CharacterText(e.codePoint()) +
                                        "' não pode ser gravado.");
    }
}

// What a load gives back from stored bytes: read up to the first zero byte,
// then decoded.
std::string AsLoaded(std::string_view stored) {
    return ScrambleBytes(stored.substr(0, stored.find('\0')), false);
}

std::string CheckedText(const std::string& field, const std::string& label, std::string_view utf8) {
    const std::string bytes = SingleByteForm(field, label, utf8);
    if (!bytes.empty() && IsBlankOrControl(static_cast<unsigned char>(bytes.front())))
        throw ProfileRefused(field, label + ": o texto não pode começar com espaço ou caractere de controle.");
    // Trailing blanks and control characters come back as blanks; anything
    // else must come back exactly.
    std::size_t end = bytes.size();
    while (end > 0 && IsBlankOrControl(static_cast<unsigned char>(bytes[end - 1]))) --end;
    const std::string expected = bytes.substr(0, end) + std::string(bytes.size() - end, ' ');
    const std::string stored = ScrambleBytes(bytes, true);
    if (AsLoaded(stored) != expected)
        throw ProfileRefused(field, label + ": este texto não pode ser gravado, pois não seria lido de volta "
                                            "por inteiro; altere algum caractere.");
    return stored;
}

std::optional<std::string> CnpjProblem(std::string_view cnpj) {
    if (cnpj.empty()) return "C.N.P.J.: não pode ficar vazio.";
    if (!IsValidUtf8(cnpj)) return "C.N.P.J.: o texto não é UTF-8 válido.";
    if (Utf8Length(cnpj) > kCnpjWidth) return "C.N.P.J.: no máximo 14 caracteres.";
    std::size_t p = 0;
    while (p < cnpj.size()) {
        const char32_t cp = *DecodeUtf8At(cnpj, p);
        if (cp == '/' || cp == '\\' || cp < 32 || !Windows1252Byte(cp))
            return "C.N.P.J.: o caractere '" + (cp < 32 ? std::string("#") + std::to_string(cp) : CharacterText(cp)) +
                   "' não pode fazer parte do nome do registro.";
    }
    return std::nullopt;
}

} // namespace

std::string DecodedProfileText(std::string_view stored) { return Windows1252ToUtf8(AsLoaded(stored)); }

std::optional<ProfileValues> ReadProfile(ProfileStore& store, std::string_view cnpj) {
    const std::optional<StoredProfile> stored = store.Read(cnpj);
    if (!stored) return std::nullopt;
    ProfileValues p;
    p.cnpj = std::string(cnpj);
    p.usuario = DecodedProfileText(stored->usuario);
    p.senha = DecodedProfileText(stored->senha);
    p.tipo = stored->tipo;
    p.caminho = DecodedProfileText(stored->caminho);
    p.enviar = stored->enviar.value_or(true);
    return p;
}

std::string ProfileLoadFailureText(const ProfileLoadFailure& failure) {
    if (failure.cnpj.empty()) return failure.message;
    return "C.N.P.J. " + failure.cnpj + ": " + failure.message;
}

std::vector<ProfileLoadFailure> LoadProfiles(ProfileStore& store, MemoryTable& table) {
    std::vector<ProfileLoadFailure> failures;
    std::vector<std::string> keys;
    try {
        keys = store.ProfileKeys();
    } catch (const StoreError& e) {
        failures.push_back({"", e.what()});
        return failures;
    }
    for (const std::string& cnpj : keys) {
        std::optional<ProfileValues> profile;
        try {
            profile = ReadProfile(store, cnpj);
        } catch (const StoreError& e) {
            // Read whole before the row is started, so a bad profile leaves
            // no half-filled row and the ones after it still load.
            failures.push_back({cnpj, e.what()});
            continue;
        }
        if (!profile) continue;
        table.Append();
        SetProfileRow(table, *profile);
        table.Post();
    }
    return failures;
}

void SetProfileRow(MemoryTable& table, const ProfileValues& profile) {
    table.SetField("CNPJ", profile.cnpj);
    table.SetField("USUARIO", profile.usuario);
    table.SetField("SENHA", profile.senha);
    table.SetField("TIPO", profile.tipo);
    table.SetField("CAMINHO", profile.caminho);
    table.SetField("ENVIAR", profile.enviar ? "S" : "N");
}

void CheckStorableProfile(std::string_view cnpj, std::string_view usuario, std::string_view senha,
                          std::string_view caminho) {
    if (const auto problem = CnpjProblem(cnpj)) throw ProfileRefused("CNPJ", *problem);
    CheckedText("Usuario", "Usuário", usuario);
    CheckedText("Senha", "Senha", senha);
    CheckedText("Caminho", "Caminho (Pasta)", caminho);
}

void SaveProfile(ProfileStore& store, std::string_view cnpj, std::string_view usuario, std::string_view senha,
                 std::int32_t tipo, std::string_view caminho, bool enviar) {
    if (const auto problem = CnpjProblem(cnpj)) throw ProfileRefused("CNPJ", *problem);
    StoredProfile profile;
    profile.usuario = CheckedText("Usuario", "Usuário", usuario);
    profile.senha = CheckedText("Senha", "Senha", senha);
    profile.tipo = tipo;
    profile.caminho = CheckedText("Caminho", "Caminho (Pasta)", caminho);
    profile.enviar = enviar;
    store.Write(cnpj, profile);
}

void SaveProfile(ProfileStore& store, const ProfileValues& profile) {
    SaveProfile(store, profile.cnpj, profile.usuario, profile.senha, profile.tipo, profile.caminho, profile.enviar);
}

void SaveSendMark(ProfileStore& store, std::string_view cnpj, bool enviar) {
    if (CnpjProblem(cnpj)) throw StoreError("Failed to set data for 'Enviar'");
    store.WriteSendMark(cnpj, enviar);
}

void RemoveProfile(ProfileStore& store, std::string_view cnpj) {
    // An empty name would stand for the profile root itself, and a slash
    // for a path below another key: neither names a profile.
    if (cnpj.empty() || cnpj.find('/') != std::string_view::npos || cnpj.find('\\') != std::string_view::npos)
        return;
    store.Remove(cnpj);
}

} // namespace nfp
