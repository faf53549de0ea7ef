#include "report/engine/control_sequences.h"

#include <charconv>
#include <cstdint>

#include "report/engine/page_item.h"

namespace nfp {

namespace {

constexpr char ESC = 27, SI = 15, SO = 14, DC2 = 18, RS = 30, FF = 12;

std::string S(std::initializer_list<char> bytes) { return std::string(bytes); }
std::string E(std::string_view rest) { return std::string(1, ESC) + std::string(rest); }

void AppendPiece(std::string& out, std::string_view piece) {
    // An integer conversion: optional blanks are not part of a piece here,
    // an optional sign and digits, nothing else.
    if (piece.empty()) return;
    long long value = 0;
    const char* first = piece.data();
    const char* last = piece.data() + piece.size();
    if (*first == '+') ++first;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || value < INT32_MIN || value > INT32_MAX) return;
    out.push_back(static_cast<char>(static_cast<unsigned char>(value & 0xFF)));
}

} // namespace

Slot SizeSlot(TSize size) {
    switch (size) {
    case TSize::S05cpp: return Slot::Expanded;
    case TSize::S10cpp: return Slot::Cpi10;
    case TSize::S12cpp: return Slot::Cpi12;
    case TSize::S17cpp: return Slot::Cpi17;
    case TSize::S20cpp: return Slot::Cpi20;
    }
    return Slot::Cpi10;
}

std::string DecimalCodes(std::string_view text) {
    if (text.size() > 255) text = text.substr(0, 255);
    std::string out;
    std::size_t start = 0;
    while (true) {
        const std::size_t blank = text.find(' ', start);
        if (blank == std::string_view::npos) {
            AppendPiece(out, text.substr(start));
            break;
        }
        AppendPiece(out, text.substr(start, blank - start));
        start = blank + 1;
    }
    return out;
}

ControlTable BuildControlTable(TModelo model, int lines, TLinha spacing, TSize defaultSize,
                               const TCustom& custom, const ControlTable& previous) {
    ControlTable t;
    const bool oito = spacing == TLinha::Oito;
    const char n = static_cast<char>(static_cast<unsigned char>(lines & 0xFF));
    switch (model) {
    case TModelo::Epson:
        t[Slot::LineSpacing] = E(oito ? "0" : "2");
        t[Slot::PageLength] = E("C") + std::string(1, n);
        t[Slot::PageEnd] = S({FF});
        t[Slot::Bold] = E("G");
        t[Slot::Italic] = E("4");
        t[Slot::Underline] = E("-1");
        t[Slot::Expanded] = E("W1");
        t[Slot::Cpi10] = S({DC2, ESC, 'P'});
        t[Slot::Cpi12] = S({DC2, ESC, 'M'});
        t[Slot::Cpi17] = S({ESC, 'P', ESC, SI});
        t[Slot::Cpi20] = S({ESC, 'M', ESC, SI});
        t[Slot::Reset] = S({ESC, 'P', DC2, ESC, 'W', '0', ESC, '5', ESC, 'H', ESC, '-', '0'});
        t[Slot::Initialise] = E("@");
        break;
    case TModelo::Rima:
        t[Slot::LineSpacing] = E(oito ? "0" : "2");
        t[Slot::PageLength] = E("C") + std::string(1, n);
        t[Slot::PageEnd] = S({FF});
        t[Slot::Bold] = E("E");
        t[Slot::Italic] = E("4");
        t[Slot::Underline] = E("-1");
        t[Slot::Expanded] = S({ESC, SO});
        t[Slot::Cpi10] = S({RS, '0'});
        t[Slot::Cpi12] = S({RS, '2'});
        t[Slot::Cpi17] = S({RS, '4'});
        t[Slot::Cpi20] = S({RS, '5'});
        t[Slot::Reset] = S({RS, '0', ESC, '5', ESC, 'F', ESC, '-', '0'});
        t[Slot::Initialise] = E("@");
        break;
    case TModelo::HP:
        t[Slot::LineSpacing] = E(oito ? "&l8D" : "&l6D");
        t[Slot::PageLength] = E("&l" + std::to_string(lines) + "P");
        t[Slot::PageEnd] = E("&l0H");
        t[Slot::Bold] = E("(s3B");
        t[Slot::Italic] = E("(s1S");
        t[Slot::Underline] = E("&d0D");
        switch (defaultSize) {
        case TSize::S05cpp: t[Slot::Expanded] = previous[Slot::Expanded]; break;
        case TSize::S10cpp: t[Slot::Expanded] = E("(s5H"); break;
        case TSize::S12cpp: t[Slot::Expanded] = E("(s6H"); break;
        case TSize::S17cpp: t[Slot::Expanded] = E("(s8.33H"); break;
        case TSize::S20cpp: t[Slot::Expanded] = E("(s10H"); break;
        }
        t[Slot::Cpi10] = E("(s10H");
        t[Slot::Cpi12] = E("(s12H");
        t[Slot::Cpi17] = E("(s16.67H");
        t[Slot::Cpi20] = E("(s20H");
        t[Slot::Reset] = E("(s0B") + E("(s0S") + E("&d@") + E("(s10H") + E("(12U") + E("&l0L");
        t[Slot::Initialise] = E("E");
        break;
    case TModelo::Personalizado:
        t[Slot::LineSpacing] = DecimalCodes(oito ? custom.AvancaOitavos : custom.AvancaSextos);
        t[Slot::PageLength] = DecimalCodes(custom.TamanhoPagina);
        t[Slot::PageEnd] = DecimalCodes(custom.SaltoPagina);
        t[Slot::Bold] = DecimalCodes(custom.Negrito);
        t[Slot::Italic] = DecimalCodes(custom.Italico);
        t[Slot::Underline] = DecimalCodes(custom.Sublinhado);
        t[Slot::Expanded] = DecimalCodes(custom.Expandido);
        t[Slot::Cpi10] = DecimalCodes(custom.Normal10);
        t[Slot::Cpi12] = DecimalCodes(custom.Comprimir12);
        t[Slot::Cpi17] = DecimalCodes(custom.Comprimir17);
        t[Slot::Cpi20] = DecimalCodes(custom.Comprimir20);
        t[Slot::Reset] = DecimalCodes(custom.Reset);
        t[Slot::Initialise] = DecimalCodes(custom.Inicializar);
        break;
    case TModelo::Grafico:
    case TModelo::Bobina:
        break;
    }
    return t;
}

std::array<double, 5> WidthFactors(TSize defaultSize) {
    switch (defaultSize) {
    case TSize::S05cpp: return {1, 0.5, 0.416666, 0.294117, 0.25};
    case TSize::S10cpp: return {2, 1, 0.833333, 0.584795, 0.5};
    case TSize::S12cpp: return {2, 1.2, 1, 0.701754, 0.6};
    case TSize::S17cpp: return {2, 1.71, 1.425, 1, 0.855};
    case TSize::S20cpp: return {2, 2, 1.666666, 1.16959, 1};
    }
    return {2, 1, 0.833333, 0.584795, 0.5};
}

DefaultFont BuildDefaultFont(TSize size, TStyle style, const ControlTable& table) {
    DefaultFont f;
    f.flags = static_cast<std::uint8_t>(SizeBit(size) | style.Bits());
    f.code = SwapBoldItalic(f.flags);
    f.pitch = Pitch(size);
    f.widthFactors = WidthFactors(size);
    if (style.Has(TEstilo::Sitalico)) f.styleSequence += table[Slot::Italic];
    if (style.Has(TEstilo::Snegrito)) f.styleSequence += table[Slot::Bold];
    if (style.Has(TEstilo::Ssublinhado)) f.styleSequence += table[Slot::Underline];
    f.styleSequence += table[SizeSlot(size)];
    return f;
}

double WidthFactor(std::uint8_t fontCode, const std::array<double, 5>& factors) {
    double f = 1;
    for (int i = 4; i >= 0; --i)
        if (fontCode & (8u << i)) f = factors[static_cast<std::size_t>(i)];
    return f;
}

} // namespace nfp
