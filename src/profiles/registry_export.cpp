#include "profiles/registry_export.h"

#include "util/text_codec.h"

#include <optional>

namespace nfp {
namespace {

constexpr std::u32string_view kVersion5Header = U"Windows Registry Editor Version 5.00";
constexpr std::u32string_view kRegedit4Header = U"REGEDIT4";
constexpr char32_t kReplacement = 0xFFFD;

// --- the file's characters ----------------------------------------------------

std::u32string FromWindows1252(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    for (const char c : bytes) out += Windows1252CodePoint(static_cast<unsigned char>(c));
    return out;
}

// Unpaired surrogates become U+FFFD; an odd last byte is dropped.
std::u32string FromUtf16Le(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size() / 2);
    const auto unit = [&](std::size_t at) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[at]) |
                                     (static_cast<unsigned char>(bytes[at + 1]) << 8));
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                out += 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
                continue;
            }
        }
        out += (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u;
    }
    return out;
}

std::u32string FromUtf8(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        if (const auto cp = DecodeUtf8At(bytes, pos)) {
            out += *cp;
        } else {
            out += kReplacement;
            ++pos;
        }
    }
    return out;
}

bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

// The file as characters, by its byte-order mark or, without one, by its
// header: REGEDIT4 is Windows-1252, a version 5 header without a mark is
// taken as UTF-8 when it is valid UTF-8.
std::u32string FileCharacters(std::string_view bytes) {
    if (StartsWith(bytes, "\xFF\xFE")) return FromUtf16Le(bytes.substr(2));
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return FromUtf8(bytes.substr(3));
    if (!StartsWith(bytes, "REGEDIT4") && IsValidUtf8(bytes)) return FromUtf8(bytes);
    return FromWindows1252(bytes);
}

std::string ToUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : text) AppendUtf8(out, c);
    return out;
}

char32_t AsciiLower(char32_t c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

std::optional<unsigned> HexDigit(char32_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = AsciiLower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return std::nullopt;
}

// --- reading position -----------------------------------------------------------

class Cursor {
public:
    explicit Cursor(const std::u32string& text) : t_(text) {}

    bool AtEnd() const { return i_ >= t_.size(); }
    char32_t Peek() const { return AtEnd() ? 0 : t_[i_]; }
    bool AtLineEnd() const { return AtEnd() || t_[i_] == '\r' || t_[i_] == '\n'; }
    std::size_t Line() const { return line_; }

    // Takes one character; a line break (CR LF, CR or LF) counts one line.
    char32_t Get() {
        const char32_t c = t_[i_++];
        if (c == '\n' || (c == '\r' && Peek() != '\n')) ++line_;
        return c;
    }
    void SkipBlanks() {
        while (!AtEnd() && (t_[i_] == ' ' || t_[i_] == '\t')) ++i_;
    }
    // Up to and including the line break.
    void SkipLine() {
        while (!AtLineEnd()) ++i_;
        SkipLineBreak();
    }
    void SkipLineBreak() {
        if (AtEnd()) return;
        if (t_[i_] == '\r' && i_ + 1 < t_.size() && t_[i_ + 1] == '\n') ++i_;
        Get();
    }
    // The rest of a value that could not be read, with its continuation
    // lines (a line ending in a backslash continues on the next).
    void SkipValue() {
        for (;;) {
            char32_t last = 0;
            while (!AtLineEnd()) {
                if (t_[i_] != ' ' && t_[i_] != '\t') last = t_[i_];
                ++i_;
            }
            SkipLineBreak();
            if (last != '\\' || AtEnd()) return;
        }
    }
    // The remainder of the current line, without taking it.
    std::u32string_view RestOfLine() const {
        std::size_t end = i_;
        while (end < t_.size() && t_[end] != '\r' && t_[end] != '\n') ++end;
        return std::u32string_view(t_).substr(i_, end - i_);
    }
    void Advance(std::size_t n) { i_ += n; }
    bool TakeWord(std::u32string_view word) {
        if (t_.size() - i_ < word.size()) return false;
        for (std::size_t k = 0; k < word.size(); ++k)
            if (AsciiLower(t_[i_ + k]) != word[k]) return false;
        i_ += word.size();
        return true;
    }

private:
    const std::u32string& t_;
    std::size_t i_ = 0;
    std::size_t line_ = 1;
};

class ValueError {
public:
    explicit ValueError(std::string message) : message_(std::move(message)) {}
    const std::string& message() const { return message_; }
private:
    std::string message_;
};

// A quoted text with the editor's two escapes, \\ and \"; any other
// backslash stands for itself. Line breaks inside the quotes belong to the
// text, as the editor writes a value holding them.
std::u32string QuotedText(Cursor& c) {
    c.Get(); // the opening quote
    std::u32string out;
    for (;;) {
        if (c.AtEnd()) throw ValueError("texto sem as aspas de fechamento");
        const char32_t ch = c.Get();
        if (ch == '"') return out;
        if (ch == '\\' && (c.Peek() == '\\' || c.Peek() == '"')) {
            out += c.Get();
            continue;
        }
        out += ch;
    }
}

void ExpectLineEnd(Cursor& c) {
    c.SkipBlanks();
    if (!c.AtLineEnd()) throw ValueError("texto inesperado depois do valor");
    c.SkipLineBreak();
}

// The comma-separated bytes of a hex form, over continuation lines.
std::string HexBytes(Cursor& c) {
    std::string bytes;
    for (;;) {
        c.SkipBlanks();
        if (c.AtLineEnd()) {
            c.SkipLineBreak();
            return bytes;
        }
        if (c.Peek() == '\\') {
            c.Get();
            c.SkipBlanks();
            if (!c.AtLineEnd()) throw ValueError("barra invertida fora do fim da linha nos bytes");
            c.SkipLineBreak();
            continue;
        }
        const auto high = HexDigit(c.Peek());
        if (!high) throw ValueError("byte hexadecimal inválido");
        c.Get();
        unsigned value = *high;
        if (const auto low = HexDigit(c.Peek())) {
            c.Get();
            value = value * 16 + *low;
        }
        bytes += static_cast<char>(value);
        c.SkipBlanks();
        if (c.Peek() == ',') {
            c.Get();
        } else if (!c.AtLineEnd() && c.Peek() != '\\') {
            throw ValueError("os bytes devem ser separados por vírgulas");
        }
    }
}

std::u32string UntilZero(std::u32string text) {
    if (const auto zero = text.find(U'\0'); zero != std::u32string::npos) text.resize(zero);
    return text;
}

// The text of a hex(1) or hex(2) value. Version 5 keeps the registry's
// UTF-16; a REGEDIT4 file holds single bytes, unless the data is plainly
// UTF-16 (an even length ending in two zero bytes).
std::u32string HexText(const std::string& bytes, RegistryExportFormat format) {
    const bool utf16 = format == RegistryExportFormat::Version5 ||
                       (bytes.size() >= 2 && bytes.size() % 2 == 0 && bytes[bytes.size() - 1] == '\0' &&
                        bytes[bytes.size() - 2] == '\0');
    return UntilZero(utf16 ? FromUtf16Le(bytes) : FromWindows1252(bytes));
}

// The data after "=".
void ValueData(Cursor& c, RegistryExportFormat format, RegistryValue& value) {
    if (c.Peek() == '"') {
        value.type = RegistryValueType::String;
        value.text = UntilZero(QuotedText(c));
        ExpectLineEnd(c);
        return;
    }
    if (c.Peek() == '-') {
        c.Get();
        ExpectLineEnd(c);
        value.type = RegistryValueType::Deleted;
        return;
    }
    if (c.TakeWord(U"dword:")) {
        std::uint32_t n = 0;
        std::size_t digits = 0;
        while (const auto d = HexDigit(c.Peek())) {
            if (++digits > 8) throw ValueError("dword com mais de 8 dígitos");
            n = n * 16 + *d;
            c.Get();
        }
        if (digits == 0) throw ValueError("dword sem dígitos");
        ExpectLineEnd(c);
        value.type = RegistryValueType::Dword;
        value.number = n;
        return;
    }
    if (c.TakeWord(U"hex")) {
        std::optional<unsigned> kind;
        if (c.Peek() == '(') {
            c.Get();
            unsigned n = 0;
            std::size_t digits = 0;
            while (const auto d = HexDigit(c.Peek())) {
                if (++digits > 8) throw ValueError("tipo hex(...) inválido");
                n = n * 16 + *d;
                c.Get();
            }
            if (digits == 0 || c.Peek() != ')') throw ValueError("tipo hex(...) inválido");
            c.Get();
            kind = n;
        }
        if (c.Peek() != ':') throw ValueError("falta ':' depois de hex");
        c.Get();
        value.bytes = HexBytes(c);
        value.type = RegistryValueType::Other;
        if (kind == 1u || kind == 2u) {
            value.type = kind == 1u ? RegistryValueType::String : RegistryValueType::ExpandString;
            value.text = HexText(value.bytes, format);
        } else if (kind == 4u && value.bytes.size() == 4) {
            value.type = RegistryValueType::Dword;
            for (std::size_t k = 4; k-- > 0;) value.number = value.number * 256 + static_cast<unsigned char>(value.bytes[k]);
        }
        return;
    }
    throw ValueError("valor em formato desconhecido");
}

std::string LineProblem(std::size_t line, const std::string& what) {
    return "linha " + std::to_string(line) + ": " + what;
}

} // namespace

RegistryExport ParseRegistryExport(std::string_view bytes) {
    const std::u32string text = FileCharacters(bytes);
    Cursor c(text);
    RegistryExport result;
    {
        std::u32string_view header = c.RestOfLine();
        while (!header.empty() && (header.back() == ' ' || header.back() == '\t')) header.remove_suffix(1);
        if (header == kVersion5Header)
            result.format = RegistryExportFormat::Version5;
        else if (header == kRegedit4Header)
            result.format = RegistryExportFormat::Regedit4;
        else
            throw RegistryExportError(kNotARegistryExport);
        c.SkipLine();
    }

    // Where values go: the last key, none before the first; a key the file
    // deletes takes none.
    enum class Target { None, Key, Deleted } target = Target::None;
    const auto problem = [&](std::size_t line, const std::string& message) {
        RegistryExportProblem p{line, LineProblem(line, message)};
        if (target == Target::Key)
            result.keys.back().problems.push_back(std::move(p));
        else
            result.problems.push_back(std::move(p));
    };

    while (!c.AtEnd()) {
        c.SkipBlanks();
        const std::size_t line = c.Line();
        if (c.AtLineEnd()) {
            c.SkipLineBreak();
            continue;
        }
        const char32_t first = c.Peek();
        if (first == ';') {
            c.SkipLine();
            continue;
        }
        if (first == '[') {
            const std::u32string_view rest = c.RestOfLine();
            const std::size_t close = rest.rfind(U']');
            if (close == std::u32string_view::npos || close < 1) {
                target = Target::None;
                problem(line, "chave sem o ']' de fechamento");
                c.SkipLine();
                continue;
            }
            std::u32string_view path = rest.substr(1, close - 1);
            const bool deleted = !path.empty() && path.front() == '-';
            if (deleted) path.remove_prefix(1);
            result.keys.push_back(RegistryKey{ToUtf8(path), deleted, {}, {}, line});
            target = deleted ? Target::Deleted : Target::Key;
            c.SkipLine();
            continue;
        }
        if (first == '"' || first == '@') {
            RegistryValue value;
            value.line = line;
            try {
                if (first == '@')
                    c.Get();
                else
                    value.name = ToUtf8(QuotedText(c));
                c.SkipBlanks();
                if (c.Peek() != '=') throw ValueError("falta '=' depois do nome do valor");
                c.Get();
                c.SkipBlanks();
                ValueData(c, result.format, value);
                if (target == Target::None)
                    problem(line, "valor fora de qualquer chave");
                else if (target == Target::Key)
                    result.keys.back().values.push_back(std::move(value));
            } catch (const ValueError& e) {
                if (target != Target::Deleted) problem(line, e.message());
                c.SkipValue();
            }
            continue;
        }
        if (target != Target::Deleted) problem(line, "linha não reconhecida");
        c.SkipValue();
    }
    return result;
}

} // namespace nfp
