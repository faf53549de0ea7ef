#include "service/file_content.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "util/text_codec.h"

namespace nfp {
namespace {

struct Steps {
    bool prepare;
    bool escape;
};

// True for the bytes that a step leaves as they are.
constexpr std::array<bool, 256> PlainBytes(Steps steps) {
    std::array<bool, 256> plain{};
    for (int b = 0; b < 256; ++b) {
        bool keep = true;
        if (steps.prepare && (b == 0 || b == '\r' || b == '\n' || b >= 0x80)) keep = false;
        if (steps.escape && (b == '&' || b == '<' || b == '>' || b == '"')) keep = false;
        plain[static_cast<std::size_t>(b)] = keep;
    }
    return plain;
}

// Eight bytes at a time: true when none of them is one a step changes.
template <bool Prepare, bool Escape>
bool WordIsPlain(std::uint64_t w) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    // Exact test for "some byte of w equals c".
    const auto has = [w](unsigned char c) {
        const std::uint64_t x = w ^ (kOnes * c);
        return ((x - kOnes) & ~x & kHighs) != 0;
    };
    if constexpr (Prepare) {
        if ((w & kHighs) != 0 || has(0) || has('\r') || has('\n')) return false;
    }
    if constexpr (Escape) {
        if (has('&') || has('<') || has('>') || has('"')) return false;
    }
    return true;
}

// UTF-8 of the Windows-1252 characters 0x80 to 0xFF.
struct Utf8Of1252 {
    std::array<std::array<char, 3>, 128> bytes{};
    std::array<unsigned char, 128> length{};
    Utf8Of1252() {
        for (int b = 0x80; b < 0x100; ++b) {
            std::string utf8;
            AppendUtf8(utf8, Windows1252CodePoint(static_cast<unsigned char>(b)));
            const auto k = static_cast<std::size_t>(b - 0x80);
            length[k] = static_cast<unsigned char>(utf8.size());
            for (std::size_t i = 0; i < utf8.size() && i < 3; ++i) bytes[k][i] = utf8[i];
        }
    }
};

template <bool Prepare, bool Escape>
void AppendFileText(std::string& out, const std::string_view in) {
    static constexpr std::array<bool, 256> kPlain = PlainBytes({Prepare, Escape});
    static const Utf8Of1252 kUtf8Of1252;
    const char* const p = in.data();
    const std::size_t n = in.size();
    const std::size_t start = out.size();
    bool windows1252 = false;
    bool copiedMultiByte = false;
    std::size_t i = 0;
    while (i < n) {
        std::size_t j = i;
        for (std::uint64_t w; j + 8 <= n; j += 8) {
            std::memcpy(&w, p + j, 8);
            if (!WordIsPlain<Prepare, Escape>(w)) break;
        }
        while (j < n && kPlain[static_cast<unsigned char>(p[j])]) ++j;
        out.append(p + i, j - i);
        i = j;
        if (i == n) break;
        const auto c = static_cast<unsigned char>(p[i]);
        if constexpr (Escape) {
            switch (c) {
            case '&': out += "&amp;"; ++i; continue;
            case '<': out += "&lt;"; ++i; continue;
            case '>': out += "&gt;"; ++i; continue;
            case '"': out += "&quot;"; ++i; continue;
            default: break;
            }
        }
        if constexpr (Prepare) {
            if (c == 0) return;
            if (c == '\r') {
                out += "\r\n";
                ++i;
                if (i < n && p[i] == '\n') ++i;
                continue;
            }
            if (c == '\n') {
                out += "\r\n";
                ++i;
                continue;
            }
            // c >= 0x80
            if (windows1252) {
                const auto k = static_cast<std::size_t>(c - 0x80);
                out.append(kUtf8Of1252.bytes[k].data(), kUtf8Of1252.length[k]);
                ++i;
                continue;
            }
            std::size_t next = i;
            if (DecodeUtf8At(in, next)) {
                out.append(p + i, next - i);
                i = next;
                copiedMultiByte = true;
                continue;
            }
            // Not UTF-8 after all: the whole file is Windows-1252. What was
            // copied so far is still right when it was ASCII.
            windows1252 = true;
            if (copiedMultiByte) {
                out.resize(start);
                i = 0;
            }
            continue;
        }
        // Only reached for a byte no step changes; the table keeps it plain.
        out += static_cast<char>(c);
        ++i;
    }
}

} // namespace

void AppendEscapedFileContent(std::string& out, std::string_view fileBytes) {
    AppendFileText<true, true>(out, fileBytes);
}

std::string EscapeFileContent(std::string_view fileBytes) {
    std::string out;
    out.reserve(fileBytes.size() + fileBytes.size() / 8 + 16);
    AppendEscapedFileContent(out, fileBytes);
    return out;
}

std::string PrepareFileText(std::string_view fileBytes) {
    std::string out;
    out.reserve(fileBytes.size() + fileBytes.size() / 16 + 16);
    AppendFileText<true, false>(out, fileBytes);
    return out;
}

std::string EscapeFileMarkup(std::string_view preparedText) {
    std::string out;
    out.reserve(preparedText.size() + preparedText.size() / 16 + 16);
    AppendFileText<false, true>(out, preparedText);
    return out;
}

} // namespace nfp
