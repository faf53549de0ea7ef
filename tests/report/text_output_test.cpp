// Byte-exact output of text printers, written through the direct route into
// real files.
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <functional>

#include "report/print/cups_spooler_route.h"
#include "report/engine/printer_text.h"
#include "report_test_support.h"

using namespace nfp;
using namespace nfp::test;

namespace {

const std::string FF = "\x0C";
const std::string DC2 = "\x12";
const std::string CRLF = "\r\n";
const std::string EpsonReset = Esc("P") + DC2 + Esc("W0") + Esc("5") + Esc("H") + Esc("-0");
const std::string EpsonInit = Esc("@");

struct OutputCase {
    const char* name;
    std::function<void(TRelGrade&)> configure;
    std::function<void(TRelGrade&)> write;
    std::string expected;
};

std::string Print(const OutputCase& c) {
    TempDir dir;
    const std::string file = dir.File("job.prn");
    DirectReport r(file);
    c.configure(r.rel);
    EXPECT_TRUE(r.rel.Abrir());
    c.write(r.rel);
    EXPECT_TRUE(r.rel.Fechar());
    EXPECT_TRUE(r.messages.shown.empty()) << r.messages.shown.front();
    return ReadAll(file);
}

void Epson66(TRelGrade& rel) { rel.Impressora = TModelo::Epson; }
const std::string Epson66Prologue = Esc("2") + Esc("C") + "\x42" + EpsonReset + DC2 + Esc("P");

} // namespace

TEST(TextOutput, GoldenJobs) {
    const OutputCase cases[] = {
        {"epson prologue for 88 lines at 8 lpi on a 12 cpi page",
         [](TRelGrade& r) {
             r.Impressora = TModelo::Epson;
             r.TamanhoQteLinhas = 88;
             r.TamanhoQteColunas = 96;
             r.TamanhoQteLPP = TLinha::Oito;
             r.FonteTamanhoPadrao = TSize::S12cpp;
         },
         [](TRelGrade& r) { r.Imp(1, 1, "AB"); },
         Esc("0") + Esc("C") + "\x58" + EpsonReset + DC2 + Esc("M") + "AB" + FF + EpsonInit},
        {"default font item carries no control bytes, lines and columns by blanks and breaks", Epson66,
         [](TRelGrade& r) {
             r.Imp(1, 3, "A");
             r.Imp(3, 2, "B");
         },
         Epson66Prologue + "  A" + CRLF + CRLF + " B" + FF + EpsonInit},
        {"bold item", Epson66, [](TRelGrade& r) { r.ImpF(1, 3, "X", 1); },
         Epson66Prologue + "  " + Esc("G") + "X" + EpsonReset + DC2 + Esc("P") + FF + EpsonInit},
        {"bold item naming the default size: size slot first", Epson66,
         [](TRelGrade& r) {
             r.ImpF(1, 1, "X", 1 | SizeBit(TSize::S10cpp));
             r.Imp(1, 3, "Y");
         },
         Epson66Prologue + DC2 + Esc("P") + Esc("G") + "X" + EpsonReset + DC2 + Esc("P") + " Y" + FF + EpsonInit},
        {"expanded item on a 12 cpi page: backspaces, next item as if it took no room",
         [](TRelGrade& r) { r.FonteTamanhoPadrao = TSize::S12cpp; },
         [](TRelGrade& r) {
             r.ImpF(1, 1, "AB", SizeBit(TSize::S05cpp));
             r.Imp(1, 3, "C");
         },
         Esc("2") + Esc("C") + "\x42" + EpsonReset + DC2 + Esc("M") + Esc("W1") + "AB\b\b" + EpsonReset + DC2 +
             Esc("M") + "  C" + FF + EpsonInit},
        {"overlapping items: backspaces bring the head back", Epson66,
         [](TRelGrade& r) {
             r.Imp(1, 1, "ABCDE");
             r.Imp(1, 3, "xy");
         },
         Epson66Prologue + "ABCDE" + "\b\b\bxy" + FF + EpsonInit},
        {"an empty page is still ended", Epson66,
         [](TRelGrade& r) {
             r.Imp(1, 1, "A");
             r.NovaPagina();
             r.NovaPagina();
             r.Imp(1, 1, "B");
         },
         Epson66Prologue + "A" + FF + FF + "B" + FF + EpsonInit},
        {"bobina has no sequences and no page end",
         [](TRelGrade& r) { r.Impressora = TModelo::Bobina; },
         [](TRelGrade& r) {
             r.Imp(1, 1, "A");
             r.ImpF(3, 2, "B", 2);
             r.NovaPagina();
             r.Imp(2, 1, "C");
         },
         "A" + CRLF + CRLF + " B" + CRLF + "C"},
        {"rima removes accents", [](TRelGrade& r) { r.Impressora = TModelo::Rima; },
         [](TRelGrade& r) { r.Imp(1, 1, "Ação ÉÑüº§"); },
         Esc("2") + Esc("C") + "\x42" + "\x1E" "0" + Esc("5") + Esc("F") + Esc("-0") + "\x1E" "0" + "Acao ENuo " + FF +
             EpsonInit},
        {"epson transliterates to the printer code page", Epson66,
         [](TRelGrade& r) { r.Imp(1, 1, "Ação É"); },
         Epson66Prologue + "A\x87\xC6o \x90" + FF + EpsonInit},
        {"sem acento on epson removes accents",
         [](TRelGrade& r) { r.Acentuacao = TAcento::SemAcento; },
         [](TRelGrade& r) { r.Imp(1, 1, "ção"); },
         Epson66Prologue + "cao" + FF + EpsonInit},
        {"hp page length in decimal", [](TRelGrade& r) { r.Impressora = TModelo::HP; },
         [](TRelGrade& r) { r.Imp(1, 1, "A"); },
         Esc("&l6D") + Esc("&l66P") + Esc("(s0B") + Esc("(s0S") + Esc("&d@") + Esc("(s10H") + Esc("(12U") +
             Esc("&l0L") + Esc("(s10H") + "A" + Esc("&l0H") + Esc("E")},
        {"personalizado string with a piece that is no number",
         [](TRelGrade& r) {
             r.Impressora = TModelo::Personalizado;
             r.ImpressoraPersonalizada.TamanhoPagina = "27 x 67  66 7a";
         },
         [](TRelGrade& r) { r.Imp(1, 1, "A"); },
         Esc("2") + Esc("CB") + Esc("P") + DC2 + "\x14" + Esc("5") + Esc("F") + Esc("-0") + DC2 + Esc("P") + "A" +
             FF + EpsonInit},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Print(c), c.expected);
    }
}

TEST(TextOutput, DefaultStyleSequenceComesAfterEveryStyledText) {
    const OutputCase c{"bold italic underline default",
                       [](TRelGrade& r) {
                           r.FonteEstiloPadrao = TStyle{TEstilo::Snegrito, TEstilo::Sitalico, TEstilo::Ssublinhado};
                       },
                       [](TRelGrade& r) {
                           r.Imp(1, 1, "D");                           // default font: no bytes
                           r.ImpF(1, 2, "N", SizeBit(TSize::S10cpp)); // plain 10 cpi
                       },
                       ""};
    const std::string style = Esc("4") + Esc("G") + Esc("-1") + DC2 + Esc("P");
    EXPECT_EQ(Print(c), Esc("2") + Esc("C") + "\x42" + EpsonReset + style + "D" + DC2 + Esc("P") + "N" +
                            EpsonReset + style + FF + EpsonInit);
}

TEST(TextOutput, BoxAndControlItemsOfSavedReports) {
    // Kinds B and C only come from saved reports: placed here straight into
    // the store.
    TempDir dir;
    const std::string file = dir.File("job.prn");
    DirectReport r(file);
    r.rel.Impressora = TModelo::Bobina;
    ASSERT_TRUE(r.rel.Abrir());
    r.rel.MutableState().store->Add(FormatPageItem({1, 1, 1, 16, 'B', clBlack, "a-b"}));
    r.rel.MutableState().store->Add(FormatPageItem({1, 1, 4, 16, 'C', clBlack, "27 64"}));
    r.rel.MutableState().store->Add(FormatPageItem({1, 1, 5, 16, 'T', clBlack, "x"}));
    ASSERT_TRUE(r.rel.Fechar());
    EXPECT_EQ(ReadAll(file), "\xDA\xC4\xBF" "\x1B@" " x");
}

TEST(TextOutput, Cp850TableKeepsAsciiAndMapsLatinLetters) {
    std::string ascii;
    for (int b = 0; b < 128; ++b) ascii += static_cast<char>(b);
    EXPECT_EQ(Windows1252ToCp850(ascii), ascii);
    EXPECT_EQ(Windows1252ToCp850("\xE1\xE9\xED\xF3\xFA\xE3\xF5\xE7\xC7\xAA\xBA"),
              "\xA0\x82\xA1\xA2\xA3\xC6\xE4\x87\x80\xA6\xA7");
    EXPECT_EQ(Windows1252ToCp850("\x81\x8D\x8F\x90\x9D"), "?????");
}

TEST(TextOutput, DirectRouteFailureIsError3) {
    TempDir dir;
    const std::string port = dir.File("missing/lp0");
    DirectReport r(port);
    std::vector<std::string> errors;
    ASSERT_TRUE(r.rel.Abrir());
    r.rel.Imp(1, 1, "A");
    ASSERT_TRUE(r.rel.Fechar());
    ASSERT_EQ(r.messages.shown.size(), 1u);
    EXPECT_EQ(r.messages.shown[0], "Erro #03 - I/O 2 " + port);
}

TEST(TextOutput, CancelledJobStopsAfterTheItemInHand) {
    TempDir dir;
    const std::string file = dir.File("cancel.prn");
    DirectReport r(file);
    r.rel.Impressora = TModelo::Bobina;
    int events = 0, cancels = 0, after = 0;
    // The user's confirmed Cancel arrives while the second item is written.
    r.rel.services.processEvents = [&] {
        if (++events == 5) r.rel.Cancelar();
    };
    r.rel.OnCancel = [&](TRelGrade&) { ++cancels; };
    r.rel.OnAfterPrint = [&](TRelGrade&) { ++after; };
    ASSERT_TRUE(r.rel.Abrir());
    r.rel.Imp(1, 1, "A");
    r.rel.Imp(2, 1, "B");
    r.rel.Imp(3, 1, "C");
    r.rel.NovaPagina();
    r.rel.Imp(1, 1, "D");
    r.rel.MutableState().copies = 2;
    ASSERT_TRUE(r.rel.Fechar());
    // Collecting the page takes three checks, the fourth comes before "A",
    // the fifth, before "B", sees the cancel. No further page or copy.
    EXPECT_EQ(ReadAll(file), "A");
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(after, 1);
}

TEST(TextOutput, AfterPrintOnlyForAJobThatStarted) {
    TempDir dir;
    for (const bool startable : {true, false}) {
        DirectReport r(startable ? dir.File("ok.prn") : dir.File("nowhere/lp0"));
        int after = 0;
        r.rel.OnAfterPrint = [&](TRelGrade&) { ++after; };
        ASSERT_TRUE(r.rel.Abrir());
        r.rel.Imp(1, 1, "A");
        ASSERT_TRUE(r.rel.Fechar());
        EXPECT_EQ(after, startable ? 1 : 0);
        EXPECT_EQ(r.messages.shown.size(), startable ? 0u : 1u);
    }
}

TEST(TextOutput, WriteFailureOnEitherRouteIsReportedOnce) {
    // /dev/full opens but refuses every byte (ENOSPC).
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    struct Case { const char* name; bool spooler; std::string message; };
    const Case cases[] = {
        {"spooler writing printer data", true, "Error " + std::to_string(ENOSPC)},
        {"direct port", false, "Erro #03 - I/O " + std::to_string(ENOSPC) + " /dev/full"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DirectReport r("/dev/full");
        CupsSpoolerRoute spooler;
        r.rel.services.spooler = &spooler;
        r.rel.UsaGerenciadorImpr = c.spooler;
        ASSERT_TRUE(r.rel.Abrir());
        r.rel.Imp(1, 1, "A");
        r.rel.NovaPagina();
        r.rel.Imp(1, 1, "B");
        r.rel.ImprimirRelatorio(std::string("/dev/full"));
        r.rel.Abortar();
        EXPECT_EQ(r.messages.shown, std::vector<std::string>{c.message});
    }
}

TEST(TextOutput, ControlTablesOfTheFixedModels) {
    const std::string SI = "\x0F", SO = "\x0E", RS = "\x1E";
    using Row = std::array<std::string, kSlotCount>;
    struct Case { const char* name; TModelo model; TLinha spacing; TSize size; Row slots; };
    const Row empty{};
    const Case cases[] = {
        {"epson", TModelo::Epson, TLinha::Seis, TSize::S10cpp,
         {Esc("2"), Esc("C") + "\x42", FF, Esc("G"), Esc("4"), Esc("-1"), Esc("W1"), DC2 + Esc("P"), DC2 + Esc("M"),
          Esc("P") + Esc(SI), Esc("M") + Esc(SI), EpsonReset, Esc("@")}},
        {"rima", TModelo::Rima, TLinha::Oito, TSize::S10cpp,
         {Esc("0"), Esc("C") + "\x42", FF, Esc("E"), Esc("4"), Esc("-1"), Esc(SO), RS + "0", RS + "2", RS + "4",
          RS + "5", RS + "0" + Esc("5") + Esc("F") + Esc("-0"), Esc("@")}},
        {"hp", TModelo::HP, TLinha::Oito, TSize::S10cpp,
         {Esc("&l8D"), Esc("&l66P"), Esc("&l0H"), Esc("(s3B"), Esc("(s1S"), Esc("&d0D"), Esc("(s5H"), Esc("(s10H"),
          Esc("(s12H"), Esc("(s16.67H"), Esc("(s20H"),
          Esc("(s0B") + Esc("(s0S") + Esc("&d@") + Esc("(s10H") + Esc("(12U") + Esc("&l0L"), Esc("E")}},
        {"grafico", TModelo::Grafico, TLinha::Seis, TSize::S10cpp, empty},
        {"bobina", TModelo::Bobina, TLinha::Oito, TSize::S12cpp, empty},
    };
    for (const auto& c : cases) {
        const ControlTable t = BuildControlTable(c.model, 66, c.spacing, c.size, TCustom{}, ControlTable{});
        EXPECT_EQ(t.strings, c.slots) << c.name;
    }
    // HP's expanded slot follows the default size; on a 5 cpi page it keeps
    // what the table held.
    const std::pair<TSize, std::string> hpExpanded[] = {
        {TSize::S10cpp, Esc("(s5H")}, {TSize::S12cpp, Esc("(s6H")}, {TSize::S17cpp, Esc("(s8.33H")},
        {TSize::S20cpp, Esc("(s10H")}};
    for (const auto& [size, expanded] : hpExpanded)
        EXPECT_EQ(BuildControlTable(TModelo::HP, 66, TLinha::Seis, size, TCustom{}, ControlTable{})[Slot::Expanded],
                  expanded);
    ControlTable epson = BuildControlTable(TModelo::Epson, 66, TLinha::Seis, TSize::S05cpp, TCustom{}, ControlTable{});
    EXPECT_EQ(BuildControlTable(TModelo::HP, 66, TLinha::Seis, TSize::S05cpp, TCustom{}, epson)[Slot::Expanded],
              Esc("W1"));
    EXPECT_EQ(BuildControlTable(TModelo::HP, 66, TLinha::Seis, TSize::S05cpp, TCustom{}, ControlTable{})[Slot::Expanded],
              "");
}

TEST(TextOutput, BoxCodesAndAccentRemovalTables) {
    EXPECT_EQ(BoxCodesToCp437("=-IiAaBbCcDdTtVv[<]>#+x "),
              "\xCD\xC4\xBA\xB3\xC9\xDA\xBB\xBF\xBC\xD9\xC8\xC0\xCB\xC2\xCA\xC1\xCC\xC3\xB9\xB4\xCE\xC5x ");
    // Windows-1252 bytes of the table's letters, then two that stay.
    EXPECT_EQ(RemoveAccents("\xE1\xE0\xE3\xE2\xE4" "\xE9\xE8\xEA\xEB" "\xED\xEC\xEE\xEF" "\xF3\xF2\xF5\xF4\xF6"
                            "\xFA\xF9\xFB\xFC" "\xC1\xC0\xC3\xC2\xC4" "\xC9\xC8\xCA\xCB" "\xCD\xCC\xCE\xCF"
                            "\xD3\xD2\xD5\xD4\xD6" "\xDA\xD9\xDB\xDC" "\xE7\xC7\xF1\xD1\xBA\xAA" "\xBC\xBD\xBE\xA7"
                            "\xFD\xFF"),
              "aaaaaeeeeiiiiooooouuuuAAAAAEEEEIIIIOOOOOUUUUcCnNoa    \xFD\xFF");
}
