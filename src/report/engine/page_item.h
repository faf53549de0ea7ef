#pragma once
// A placed text as the page store keeps it: one string of fixed-width
// fields, so that plain string order is page, line, column, font code.
//   1-4 page, 5-7 line, 8-10 column, 11-13 font code (all zero-filled),
//   14 kind, 15-20 colour RRGGBB in upper-case hex, 21- the text (UTF-8).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "report/engine/report_types.h"

namespace nfp {

// Kinds: 'T' text, 'B' box-drawing codes, 'C' raw control codes,
// 'M' the find marker (never stored).
struct PageItem {
    int page = 1;
    int line = 1;
    int column = 1;
    std::uint8_t fontCode = 0;
    char kind = 'T';
    TColor color = clBlack;
    std::string text;
};

inline constexpr std::size_t kPageItemTextPos = 20; // 0-based start of the text

// Fields out of range do not fit the layout: page 0..9999, line and column
// 0..999. Throws std::invalid_argument then.
std::string FormatPageItem(const PageItem& item);
// The same layout with `text` in place of item.text, written over `out`:
// a caller placing many texts reuses one buffer.
void FormatPageItemInto(const PageItem& item, std::string_view text, std::string& out);

// Nothing when a field is not a number or the colour is not hexadecimal.
std::optional<PageItem> ParsePageItem(std::string_view stored);

// Font set (bit 0 bold, bit 1 italic) to font code (bit 0 italic, bit 1
// bold) and back: the two low bits are exchanged.
inline constexpr std::uint8_t SwapBoldItalic(std::uint8_t bits) {
    return static_cast<std::uint8_t>((bits & 0xFC) | ((bits & 1) << 1) | ((bits & 2) >> 1));
}

// Font code bits.
inline constexpr std::uint8_t kCodeItalic = 1;
inline constexpr std::uint8_t kCodeBold = 2;
inline constexpr std::uint8_t kCodeUnderline = 4;

} // namespace nfp
