// The registry export reader: any bytes are refused as no export or read as
// far as they can be, without failing otherwise; what it finds is the same
// in both of the editor's formats (the text of hex strings aside); every
// profile it finds names a CNPJ.
//
// Input: the file's bytes. A file that begins with "REGEDIT4" is also read
// as the same text in the version 5 format (UTF-16 little-endian).
#include <string>

#include "fuzz_input.h"
#include "profiles/registry_export.h"
#include "profiles/registry_profiles.h"
#include "util/text_codec.h"

namespace {

using namespace nfp;

std::optional<RegistryExport> Read(std::string_view bytes) {
    try {
        return ParseRegistryExport(bytes);
    } catch (const RegistryExportError&) {
        return std::nullopt;
    }
}

// The same characters as a version 5 export: header, mark, UTF-16LE.
std::string AsVersion5(std::string_view regedit4) {
    const std::string text =
        "Windows Registry Editor Version 5.00" + Windows1252ToUtf8(regedit4.substr(std::string_view("REGEDIT4").size()));
    std::string out = "\xFF\xFE";
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t cp = *DecodeUtf8At(text, pos);
        const auto unit = [&](char32_t u) {
            out += static_cast<char>(u & 0xFF);
            out += static_cast<char>(u >> 8);
        };
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(0xD800 + (cp >> 10));
            unit(0xDC00 + (cp & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

bool SameProblems(const std::vector<RegistryExportProblem>& a, const std::vector<RegistryExportProblem>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].line != b[i].line || a[i].message != b[i].message) return false;
    return true;
}

bool SameKeys(const RegistryExport& a, const RegistryExport& b) {
    if (a.keys.size() != b.keys.size() || !SameProblems(a.problems, b.problems)) return false;
    for (std::size_t k = 0; k < a.keys.size(); ++k) {
        const RegistryKey& x = a.keys[k];
        const RegistryKey& y = b.keys[k];
        if (x.path != y.path || x.deleted != y.deleted || x.line != y.line || x.values.size() != y.values.size() ||
            !SameProblems(x.problems, y.problems))
            return false;
        for (std::size_t v = 0; v < x.values.size(); ++v) {
            const RegistryValue& p = x.values[v];
            const RegistryValue& q = y.values[v];
            // The text of a hex(1) or hex(2) string is single-byte in a
            // REGEDIT4 file and UTF-16 in a version 5 one: the bytes agree.
            const bool hexText = !p.bytes.empty() &&
                                 (p.type == RegistryValueType::String || p.type == RegistryValueType::ExpandString);
            if (p.name != q.name || p.type != q.type || (!hexText && p.text != q.text) || p.number != q.number ||
                p.bytes != q.bytes || p.line != q.line)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::string_view bytes = input.Rest();
    const auto file = Read(bytes);
    if (!file) return 0;
    for (const RegistryKey& key : file->keys) {
        FUZZ_CHECK(IsValidUtf8(key.path));
        FUZZ_CHECK(!key.deleted || key.values.empty());
        for (const RegistryValue& value : key.values) {
            FUZZ_CHECK(IsValidUtf8(value.name));
            FUZZ_CHECK(value.text.find(U'\0') == std::u32string::npos);
        }
    }
    for (const RegistryProfile& profile : FindRegistryProfiles(*file)) {
        FUZZ_CHECK(profile.cnpj.size() == 14 && profile.cnpj.find_first_not_of("0123456789") == std::string::npos);
        FUZZ_CHECK(profile.keyPath.find(profile.cnpj) != std::string::npos);
        FUZZ_CHECK(IsValidUtf8(profile.usuario) && IsValidUtf8(profile.senha) && IsValidUtf8(profile.caminho));
        for (const std::string& problem : profile.problems) FUZZ_CHECK(!problem.empty());
    }

    if (bytes.starts_with("REGEDIT4")) {
        const auto version5 = Read(AsVersion5(bytes));
        FUZZ_CHECK(version5);
        FUZZ_CHECK(version5->format == RegistryExportFormat::Version5);
        FUZZ_CHECK(SameKeys(*file, *version5));
    }
    return 0;
}
