#include "profiles/windows_folder.h"

#include "util/text_codec.h"

#include <algorithm>

namespace nfp {
namespace {

char32_t FoldedCodePoint(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20; // À..Þ except ×
    switch (c) {
    case 0x0160: return 0x0161; // Š
    case 0x0152: return 0x0153; // Œ
    case 0x017D: return 0x017E; // Ž
    case 0x0178: return 0x00FF; // Ÿ
    default: return c;
    }
}

bool StartsWithDrive(std::string_view p) {
    return p.size() >= 2 && p[1] == ':' && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
}

// Drops the next `count` components (with the separators before them).
std::string_view DropComponents(std::string_view p, int count) {
    for (int k = 0; k < count; ++k) {
        while (!p.empty() && p.front() == '\\') p.remove_prefix(1);
        const std::size_t end = p.find('\\');
        p.remove_prefix(end == std::string_view::npos ? p.size() : end);
    }
    return p;
}

// The folder without what names its volume.
std::string_view WithoutVolume(std::string_view p) {
    if (p.starts_with("\\\\?\\") || p.starts_with("\\\\.\\")) {
        p.remove_prefix(4);
        if (p.size() >= 4 && FoldedCase(p.substr(0, 4)) == "unc\\") return DropComponents(p.substr(4), 2);
        return StartsWithDrive(p) ? p.substr(2) : p;
    }
    if (p.starts_with("\\\\")) return DropComponents(p.substr(2), 2);
    return StartsWithDrive(p) ? p.substr(2) : p;
}

std::vector<std::string> FolderComponents(std::string_view windowsFolder) {
    std::string path(windowsFolder);
    std::replace(path.begin(), path.end(), '/', '\\');
    std::string_view rest = WithoutVolume(path);
    std::vector<std::string> parts;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\\'), rest.size());
        const std::string_view part = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.emplace_back(part);
    }
    return parts;
}

} // namespace

std::string FoldedCase(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t at = pos;
        if (const auto cp = DecodeUtf8At(utf8, pos)) {
            AppendUtf8(out, FoldedCodePoint(*cp));
        } else {
            out += utf8[at];
            pos = at + 1;
        }
    }
    return out;
}

std::string MapWindowsFolder(std::string_view windowsFolder, std::string_view base, const SubfolderNames& disk) {
    std::string folder(base);
    if (folder.empty() || folder.back() != '/') folder += '/';
    bool onDisk = true; // the folder built so far exists
    for (const std::string& part : FolderComponents(windowsFolder)) {
        std::string name = part;
        if (onDisk) {
            std::vector<std::string> names = disk ? disk(folder) : std::vector<std::string>{};
            std::sort(names.begin(), names.end());
            const auto exact = std::find(names.begin(), names.end(), part);
            const std::string folded = FoldedCase(part);
            const auto alike = std::find_if(names.begin(), names.end(),
                                            [&](const std::string& n) { return FoldedCase(n) == folded; });
            if (exact != names.end())
                name = *exact;
            else if (alike != names.end())
                name = *alike;
            else
                onDisk = false;
        }
        folder += name;
        folder += '/';
    }
    return folder;
}

} // namespace nfp
