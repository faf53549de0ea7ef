#include "profiles/registry_profiles.h"

#include "profiles/profile_operations.h"
#include "util/text_codec.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

namespace nfp {
namespace {

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::vector<std::string_view> Components(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

bool IsCnpjName(std::string_view name) {
    if (name.size() != 14) return false;
    for (const char c : name)
        if (c < '0' || c > '9') return false;
    return true;
}

// The CNPJ a profile key names, or nothing for any other key.
std::optional<std::string> ProfileKeyCnpj(std::string_view path) {
    const auto parts = Components(path);
    if (parts.size() < 2 || LowerAscii(parts[parts.size() - 2]) != "zeltra" || !IsCnpjName(parts.back()))
        return std::nullopt;
    return std::string(parts.back());
}

std::string CharacterName(char32_t cp) {
    std::string s = "'";
    AppendUtf8(s, cp);
    char code[16];
    std::snprintf(code, sizeof code, "' (U+%04X)", static_cast<unsigned>(cp));
    return s + code;
}

// A stored text: back to its Windows-1252 bytes, then unscrambled.
std::string StoredText(const std::map<std::string, const RegistryValue*>& values, const char* name,
                       std::vector<std::string>& problems) {
    const auto found = values.find(LowerAscii(name));
    if (found == values.end()) return {};
    const RegistryValue& v = *found->second;
    if (v.type != RegistryValueType::String && v.type != RegistryValueType::ExpandString) {
        problems.push_back(std::string("o valor \"") + name + "\" não é um texto");
        return {};
    }
    std::string bytes;
    for (const char32_t cp : v.text) {
        const auto byte = Windows1252Byte(cp);
        if (!byte) {
            problems.push_back(std::string("o valor \"") + name + "\" tem o caractere " + CharacterName(cp) +
                               ", que não existe em Windows-1252");
            return {};
        }
        bytes += static_cast<char>(*byte);
    }
    return DecodedProfileText(bytes);
}

std::optional<std::int32_t> Category(const std::map<std::string, const RegistryValue*>& values,
                                     std::vector<std::string>& problems) {
    const auto found = values.find("tipo");
    if (found == values.end()) {
        problems.push_back("falta o valor \"Tipo\"");
        return std::nullopt;
    }
    if (found->second->type != RegistryValueType::Dword) {
        problems.push_back("o valor \"Tipo\" não é um número (dword)");
        return std::nullopt;
    }
    return static_cast<std::int32_t>(found->second->number);
}

} // namespace

std::vector<RegistryProfile> FindRegistryProfiles(const RegistryExport& file) {
    // The blocks of each profile key, merged by path.
    struct Merged {
        std::string cnpj;
        std::string path;
        std::map<std::string, const RegistryValue*> values; // by lower-case name; the last one wins
        std::vector<std::string> problems;
        bool removed; // a later "[-...]" deletes it
    };
    std::vector<Merged> merged;
    std::map<std::string, std::size_t> byPath;
    for (const RegistryKey& key : file.keys) {
        const std::string lowerPath = LowerAscii(key.path);
        if (key.deleted) {
            // Gone with the key, and so is every key below it.
            for (auto it = byPath.begin(); it != byPath.end();) {
                const std::string& path = it->first;
                if (path == lowerPath || (path.size() > lowerPath.size() && path.starts_with(lowerPath) &&
                                          path[lowerPath.size()] == '\\')) {
                    merged[it->second].removed = true;
                    it = byPath.erase(it);
                } else {
                    ++it;
                }
            }
            continue;
        }
        const auto cnpj = ProfileKeyCnpj(key.path);
        if (!cnpj) continue;
        auto [at, added] = byPath.emplace(lowerPath, merged.size());
        if (added) merged.push_back({*cnpj, key.path, {}, {}, false});
        Merged& m = merged[at->second];
        for (const RegistryValue& v : key.values) {
            if (v.type == RegistryValueType::Deleted)
                m.values.erase(LowerAscii(v.name));
            else
                m.values[LowerAscii(v.name)] = &v;
        }
        for (const RegistryExportProblem& p : key.problems) m.problems.push_back(p.message);
    }

    std::vector<RegistryProfile> profiles;
    std::set<std::string> seen;
    for (const Merged& m : merged) {
        if (m.removed) continue;
        RegistryProfile p;
        p.cnpj = m.cnpj;
        p.keyPath = m.path;
        p.problems = m.problems;
        p.usuario = StoredText(m.values, "Usuario", p.problems);
        p.senha = StoredText(m.values, "Senha", p.problems);
        p.tipo = Category(m.values, p.problems);
        p.caminho = StoredText(m.values, "Caminho", p.problems);
        p.repeated = !seen.insert(p.cnpj).second;
        profiles.push_back(std::move(p));
    }
    return profiles;
}

} // namespace nfp
