#include "report/engine/printer_text.h"

#include <array>
#include <cstdint>

#include "report/engine/control_sequences.h"
#include "util/text_codec.h"

namespace nfp {

namespace {

constexpr std::array<std::uint8_t, 128> kCp850 = {
    0x45, 0x3F, 0x2C, 0x9F, 0x22, 0x2E, 0x2B, 0x2B, 0x5E, 0x25, 0x53, 0x3C, 0x4F, 0x3F, 0x5A, 0x3F,  // 80
    0x3F, 0x27, 0x27, 0x22, 0x22, 0xFA, 0x2D, 0x2D, 0x7E, 0x54, 0x73, 0x3E, 0x6F, 0x3F, 0x7A, 0x59,  // 90
    0xFF, 0xAD, 0xBD, 0x9C, 0xCF, 0xBE, 0xDD, 0xF5, 0xF9, 0xB8, 0xA6, 0xAE, 0xAA, 0xF0, 0xA9, 0xEE,  // A0
    0xF8, 0xF1, 0xFD, 0xFC, 0xEF, 0xE6, 0xF4, 0xFA, 0xF7, 0xFB, 0xA7, 0xAF, 0xAC, 0xAB, 0xF3, 0xA8,  // B0
    0xB7, 0xB5, 0xB6, 0xC7, 0x8E, 0x8F, 0x92, 0x80, 0xD4, 0x90, 0xD2, 0xD3, 0xDE, 0xD6, 0xD7, 0xD8,  // C0
    0xD1, 0xA5, 0xE3, 0xE0, 0xE2, 0xE5, 0x99, 0x9E, 0x9D, 0xEB, 0xE9, 0xEA, 0x9A, 0xED, 0xE8, 0xE1,  // D0
    0x85, 0xA0, 0x83, 0xC6, 0x84, 0x86, 0x91, 0x87, 0x8A, 0x82, 0x88, 0x89, 0x8D, 0xA1, 0x8C, 0x8B,  // E0
    0xD0, 0xA4, 0x95, 0xA2, 0x93, 0xE4, 0x94, 0xF6, 0x9B, 0x97, 0xA3, 0x96, 0x81, 0xEC, 0xE7, 0x98,  // F0
};

unsigned char Plain(unsigned char c) {
    switch (c) {
    case 0xE1: case 0xE0: case 0xE3: case 0xE2: case 0xE4: return 'a';
    case 0xE9: case 0xE8: case 0xEA: case 0xEB: return 'e';
    case 0xED: case 0xEC: case 0xEE: case 0xEF: return 'i';
    case 0xF3: case 0xF2: case 0xF5: case 0xF4: case 0xF6: return 'o';
    case 0xFA: case 0xF9: case 0xFB: case 0xFC: return 'u';
    case 0xC1: case 0xC0: case 0xC3: case 0xC2: case 0xC4: return 'A';
    case 0xC9: case 0xC8: case 0xCA: case 0xCB: return 'E';
    case 0xCD: case 0xCC: case 0xCE: case 0xCF: return 'I';
    case 0xD3: case 0xD2: case 0xD5: case 0xD4: case 0xD6: return 'O';
    case 0xDA: case 0xD9: case 0xDB: case 0xDC: return 'U';
    case 0xE7: return 'c';
    case 0xC7: return 'C';
    case 0xF1: return 'n';
    case 0xD1: return 'N';
    case 0xBA: return 'o';
    case 0xAA: return 'a';
    case 0xBC: case 0xBD: case 0xBE: case 0xA7: return ' ';
    default: return c;
    }
}

unsigned char Box(char c) {
    switch (c) {
    case '=': return 205; case '-': return 196;
    case 'I': return 186; case 'i': return 179;
    case 'A': return 201; case 'a': return 218;
    case 'B': return 187; case 'b': return 191;
    case 'C': return 188; case 'c': return 217;
    case 'D': return 200; case 'd': return 192;
    case 'T': return 203; case 't': return 194;
    case 'V': return 202; case 'v': return 193;
    case '[': return 204; case '<': return 195;
    case ']': return 185; case '>': return 180;
    case '#': return 206; case '+': return 197;
    default: return static_cast<unsigned char>(c);
    }
}

} // namespace

std::string RemoveAccents(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(Plain(static_cast<unsigned char>(c)));
    return out;
}

std::string Windows1252ToCp850(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80) c = static_cast<char>(kCp850[u - 0x80]);
    }
    return out;
}

std::string BoxCodesToCp437(std::string_view codes) {
    std::string out(codes);
    for (char& c : out) c = static_cast<char>(Box(c));
    return out;
}

std::string ToWindows1252Lossy(std::string_view text) {
    const std::string utf8 = Utf8OrWindows1252ToUtf8(text);
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto cp = DecodeUtf8At(utf8, pos);
        if (!cp) { out.push_back('?'); ++pos; continue; }
        const auto b = Windows1252Byte(*cp);
        out.push_back(b ? static_cast<char>(*b) : '?');
    }
    return out;
}

std::string ApplyAccentHandling(std::string_view s, TAcento acento, TModelo model) {
    if (acento == TAcento::SemAcento || model == TModelo::Rima) return RemoveAccents(s);
    if (model != TModelo::Grafico) return Windows1252ToCp850(s);
    return std::string(s);
}

std::string PrinterBytes(std::string_view utf8Text, char kind, TAcento acento, TModelo model) {
    std::string bytes = ApplyAccentHandling(ToWindows1252Lossy(utf8Text), acento, model);
    if (kind == 'C') return DecimalCodes(bytes);
    if (kind == 'B') return BoxCodesToCp437(bytes);
    return bytes;
}

} // namespace nfp
