#pragma once
// The report engine's vocabulary: models, sizes, styles, colours and the
// small option objects a report component carries.
#include <cstdint>
#include <initializer_list>
#include <string>

namespace nfp {

// Ordinals matter: saved reports and the setup dialog's model list use them.
enum class TModelo { Epson, Rima, HP, Grafico, Personalizado, Bobina };
enum class TAcento { Transliterate, SemAcento };
enum class TLinha { Seis, Oito };
enum class TSize { S05cpp, S10cpp, S12cpp, S17cpp, S20cpp };
enum class TEstilo { Snegrito, Sitalico, Ssublinhado };
enum class TStatBut { Ativo, Inativo, Invisivel };
enum class TPrinterOrientation { poPortrait, poLandscape };

// A set of TEstilo; its bits are those of a font set (1 bold, 2 italic,
// 4 underline).
class TStyle {
public:
    constexpr TStyle() = default;
    constexpr TStyle(std::initializer_list<TEstilo> estilos) {
        for (TEstilo e : estilos) Include(e);
    }
    constexpr bool Has(TEstilo e) const { return (bits_ & Bit(e)) != 0; }
    constexpr void Include(TEstilo e) { bits_ = static_cast<std::uint8_t>(bits_ | Bit(e)); }
    constexpr void Exclude(TEstilo e) { bits_ = static_cast<std::uint8_t>(bits_ & ~Bit(e)); }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint8_t Bits() const { return bits_; }
    constexpr bool operator==(const TStyle&) const = default;

private:
    static constexpr std::uint8_t Bit(TEstilo e) { return static_cast<std::uint8_t>(1u << static_cast<int>(e)); }
    std::uint8_t bits_ = 0;
};

// Colours are 0xRRGGBB. The one system colour in use (the button face) is
// flagged in the high byte and resolved by the windows that paint it.
using TColor = std::uint32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0xFF0000;
inline constexpr TColor clBlue = 0x0000FF;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000u) != 0; }
// What a page item stores for a colour: system colours become their usual
// light grey, since an item must carry a plain RGB value.
inline constexpr TColor ItemColor(TColor c) { return IsSystemColor(c) ? 0xF0F0F0 : (c & 0xFFFFFF); }

// Margins of the graphic route, in millimetres.
struct TMargens {
    int Left = 10;
    int Right = 10;
    int Top = 10;
    int Bottom = 10;
};

struct TPreviewOptions {
    bool Preview = false;
    bool PaginaZebrada = false;
    bool Remalina = false;
    std::string CaptionPreview = "RelGrade Preview";
    int PreviewZoom = 100; // percent; -1 fit to width, -2 whole page
    TColor CorPapelPreview = clWhite;
    TColor CorLetraPreview = clBlack;
    TStatBut BotaoSetup = TStatBut::Ativo;
    TStatBut BotaoImprimir = TStatBut::Ativo;
    TStatBut BotaoGravar = TStatBut::Ativo;
    TStatBut BotaoLer = TStatBut::Ativo;
    TStatBut BotaoProcurar = TStatBut::Ativo;

    // Taking options from another set copies only the paper look.
    void Assign(const TPreviewOptions& other) {
        PaginaZebrada = other.PaginaZebrada;
        Remalina = other.Remalina;
    }
};

// Control strings of the user-defined model: decimal byte values separated
// by blanks (NomeImpressora excepted).
struct TCustom {
    std::string NomeImpressora = "Modelo Personalizado - (Epson)";
    std::string AvancaOitavos = "27 48";
    std::string AvancaSextos = "27 50";
    std::string SaltoPagina = "12";
    std::string TamanhoPagina = "27 67 66";
    std::string Negrito = "27 69";
    std::string Italico = "27 52";
    std::string Sublinhado = "27 45 49";
    std::string Expandido = "27 14";
    std::string Normal10 = "18 27 80";
    std::string Comprimir12 = "18 27 77";
    std::string Comprimir17 = "27 80 27 15";
    std::string Comprimir20 = "27 77 27 15";
    std::string Reset = "27 80 18 20 27 53 27 70 27 45 48";
    std::string Inicializar = "27 64";

    void Assign(const TCustom& other) { *this = other; }
};

// Size bit of a font set or font code (8 expanded ... 128 twenty cpi).
inline constexpr std::uint8_t SizeBit(TSize s) { return static_cast<std::uint8_t>(8u << static_cast<int>(s)); }
// Characters per inch of a size.
inline constexpr int Pitch(TSize s) {
    constexpr int pitches[] = {5, 10, 12, 17, 20};
    return pitches[static_cast<int>(s)];
}

} // namespace nfp
