#pragma once
// The thirteen control strings of a text printer model, and the default
// font state that goes with them.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "report/engine/report_types.h"

namespace nfp {

enum class Slot {
    LineSpacing, PageLength, PageEnd, Bold, Italic, Underline,
    Expanded, Cpi10, Cpi12, Cpi17, Cpi20, Reset, Initialise,
};
inline constexpr std::size_t kSlotCount = 13;

struct ControlTable {
    std::array<std::string, kSlotCount> strings;
    const std::string& operator[](Slot s) const { return strings[static_cast<std::size_t>(s)]; }
    std::string& operator[](Slot s) { return strings[static_cast<std::size_t>(s)]; }
    bool operator==(const ControlTable&) const = default;
};

// The size slot of a size (expanded, 10, 12, 17 or 20 cpi).
Slot SizeSlot(TSize size);

// Decimal byte values separated by blanks, each kept to its low eight bits;
// a piece that is no number adds nothing. Only the first 255 characters
// count.
std::string DecimalCodes(std::string_view text);

// Fills the table of `model`. `previous` is what the table held: the HP
// expanded slot keeps it on a 5 cpi page.
ControlTable BuildControlTable(TModelo model, int lines, TLinha spacing, TSize defaultSize,
                               const TCustom& custom, const ControlTable& previous);

// How wide a text of each size bit (index 0 = bit 8 ... 4 = bit 128) is
// drawn, relative to a character of the default size.
std::array<double, 5> WidthFactors(TSize defaultSize);

struct DefaultFont {
    std::uint8_t flags = SizeBit(TSize::S10cpp); // font-set bits
    std::uint8_t code = SizeBit(TSize::S10cpp);  // font-code bits
    int pitch = 10;
    std::array<double, 5> widthFactors = WidthFactors(TSize::S10cpp);
    std::string styleSequence; // italic, bold, underline, then the size slot
};

DefaultFont BuildDefaultFont(TSize size, TStyle style, const ControlTable& table);

// Width factor of an item: 1, replaced by each size bit set from 128 down
// to 8, so the lowest set bit wins.
double WidthFactor(std::uint8_t fontCode, const std::array<double, 5>& factors);

} // namespace nfp
