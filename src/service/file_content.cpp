#include "service/file_content.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "util/large_buffer.h"
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

// Eight bytes at a time: the high bit of each byte that a step changes is
// set. Bytes above the first such byte may be marked falsely (a borrow),
// so only the lowest mark is exact, which is the one used.
template <bool Prepare, bool Escape>
std::uint64_t ChangedBytes(std::uint64_t w) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    const auto equal = [w](unsigned char c) {
        const std::uint64_t x = w ^ (kOnes * c);
        return (x - kOnes) & ~x & kHighs;
    };
    std::uint64_t marks = 0;
    if constexpr (Prepare) marks |= (w & kHighs) | equal(0) | equal('\r') | equal('\n');
    if constexpr (Escape) marks |= equal('&') | equal('<') | equal('>') | equal('"');
    return marks;
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

// Writes into the string's own buffer: sized once for the expected text
// (growing by doubling only when the text outgrows it) and cut to the
// written length at the end. Much cheaper than many small appends.
class Writer {
public:
    Writer(std::string& out, std::size_t expected) : out_(out), length_(out.size()) {
        ReserveLarge(out_, length_ + expected);
        out_.resize(length_ + expected);
    }
    ~Writer() { out_.resize(length_); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void Put(const char* data, std::size_t size) {
        if (length_ + size > out_.size()) [[unlikely]]
            out_.resize(std::max(2 * out_.size(), length_ + size));
        char* to = out_.data() + length_;
        if (size <= 8) {
            for (std::size_t k = 0; k < size; ++k) to[k] = data[k];
        } else {
            std::memcpy(to, data, size);
        }
        length_ += size;
    }
    template <std::size_t N>
    void Put(const char (&literal)[N]) {
        Put(literal, N - 1);
    }
    std::size_t Length() const noexcept { return length_; }
    void Truncate(std::size_t length) noexcept { length_ = length; }

private:
    std::string& out_;
    std::size_t length_;
};

template <bool Prepare, bool Escape>
void AppendFileText(std::string& out, const std::string_view in) {
    static constexpr std::array<bool, 256> kPlain = PlainBytes({Prepare, Escape});
    static const Utf8Of1252 kUtf8Of1252;
    const char* const p = in.data();
    const std::size_t n = in.size();
    // Room for CR LF line ends and the odd entity; more is added if needed.
    Writer w(out, n + n / 8 + 16);
    const std::size_t start = w.Length();
    bool windows1252 = false;
    bool copiedMultiByte = false;
    std::size_t i = 0;
    while (i < n) {
        std::size_t j = i;
        bool found = false;
        for (std::uint64_t word; j + 8 <= n; j += 8) {
            std::memcpy(&word, p + j, 8);
            if constexpr (std::endian::native == std::endian::little) {
                if (const std::uint64_t marks = ChangedBytes<Prepare, Escape>(word)) {
                    j += static_cast<std::size_t>(std::countr_zero(marks)) / 8;
                    found = true;
                    break;
                }
            } else if (ChangedBytes<Prepare, Escape>(word) != 0) {
                break;
            }
        }
        if (!found) {
            while (j < n && kPlain[static_cast<unsigned char>(p[j])]) ++j;
        }
        w.Put(p + i, j - i);
        i = j;
        if (i == n) break;
        const auto c = static_cast<unsigned char>(p[i]);
        if constexpr (Escape) {
            switch (c) {
            case '&': w.Put("&amp;"); ++i; continue;
            case '<': w.Put("&lt;"); ++i; continue;
            case '>': w.Put("&gt;"); ++i; continue;
            case '"': w.Put("&quot;"); ++i; continue;
            default: break;
            }
        }
        if constexpr (Prepare) {
            if (c == 0) return;
            if (c == '\r') {
                w.Put("\r\n");
                ++i;
                if (i < n && p[i] == '\n') ++i;
                continue;
            }
            if (c == '\n') {
                w.Put("\r\n");
                ++i;
                continue;
            }
            // c >= 0x80
            if (windows1252) {
                const auto k = static_cast<std::size_t>(c - 0x80);
                w.Put(kUtf8Of1252.bytes[k].data(), kUtf8Of1252.length[k]);
                ++i;
                continue;
            }
            std::size_t next = i;
            if (DecodeUtf8At(in, next)) {
                w.Put(p + i, next - i);
                i = next;
                copiedMultiByte = true;
                continue;
            }
            // Not UTF-8 after all: the whole file is Windows-1252. What was
            // copied so far is still right when it was ASCII.
            windows1252 = true;
            if (copiedMultiByte) {
                w.Truncate(start);
                i = 0;
            }
            continue;
        }
        // Only reached for a byte no step changes; the table keeps it plain.
        w.Put(p + i, 1);
        ++i;
    }
}

// What preparing keeps of a file's bytes: up to the first zero byte, less
// the end-of-file mark, whose final line break (if any) stays.
struct KeptText {
    std::string_view body;
    bool finalBreak = false; // a line break follows the body
};

KeptText WithoutEndOfFileMark(std::string_view bytes) {
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    std::size_t lineBreak = 0;
    if (text.ends_with("\r\n")) lineBreak = 2;
    else if (text.ends_with('\n') || text.ends_with('\r')) lineBreak = 1;
    std::string_view body = text.substr(0, text.size() - lineBreak);
    if (!body.ends_with('\x1A')) return {text, false};
    while (body.ends_with('\x1A')) body.remove_suffix(1);
    return {body, lineBreak > 0};
}

template <bool Escape>
void AppendPreparedFile(std::string& out, std::string_view fileBytes) {
    const KeptText kept = WithoutEndOfFileMark(fileBytes);
    AppendFileText<true, Escape>(out, kept.body);
    if (kept.finalBreak) out += "\r\n";
}

} // namespace

void AppendEscapedFileContent(std::string& out, std::string_view fileBytes) {
    AppendPreparedFile<true>(out, fileBytes);
}

std::string EscapeFileContent(std::string_view fileBytes) {
    std::string out;
    AppendEscapedFileContent(out, fileBytes);
    return out;
}

std::string PrepareFileText(std::string_view fileBytes) {
    std::string out;
    AppendPreparedFile<false>(out, fileBytes);
    return out;
}

std::string EscapeFileMarkup(std::string_view preparedText) {
    std::string out;
    AppendFileText<false, true>(out, preparedText);
    return out;
}

std::optional<ForbiddenControl> FindForbiddenControl(std::string_view fileBytes) {
    const std::string_view text = WithoutEndOfFileMark(fileBytes).body;
    std::size_t line = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 || c == '\t') continue;
        if (c == '\n' || (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++line;
        else if (c != '\r') return ForbiddenControl{c, line};
    }
    return std::nullopt;
}

std::string ForbiddenControlText(std::string_view arquivo, const ForbiddenControl& found) {
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned>(found.byte));
    return "O arquivo " + std::string(arquivo) + " contém o caractere de controle " + code + " na linha " +
           std::to_string(found.line) + ", que o serviço não aceita.";
}

} // namespace nfp
