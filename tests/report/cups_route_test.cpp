// Jobs through a real CUPS scheduler: a private cupsd, a raw queue whose
// device is a socket this test listens on, and the bytes that arrive.
#include <gtest/gtest.h>

#include <memory>

#include "private_cups.h"
#include "report/print/cups_printer_system.h"
#include "report/print/cups_spooler_route.h"

using namespace nfp;
using namespace nfp::test;

namespace {

class CupsRoute : public ::testing::Test {
protected:
    void SetUp() override {
        const auto cupsd = FindCupsd();
        if (!cupsd) GTEST_SKIP() << "cupsd not found (install the cups package): CUPS route not tested";
        cups_ = std::make_unique<PrivateCups>(*cupsd);
        cups_->AddRawQueue("Epson_LX-300", printer_.port(), true);
        rel_.services.messages = &messages_;
        rel_.services.printers = &printers_;
        rel_.services.spooler = &spooler_;
        rel_.MostrarProgresso = false;
    }

    RecordingPrinter printer_;
    std::unique_ptr<PrivateCups> cups_;
    CupsPrinterSystem printers_;
    CupsSpoolerRoute spooler_;
    RecordingMessages messages_;
    TRelGrade rel_;
};

} // namespace

TEST_F(CupsRoute, RawJobOnTheDefaultDestination) {
    EXPECT_EQ(printers_.CurrentPrinter(), "Epson_LX-300");
    rel_.TitulodoRelatorio = "Resumo do envio";
    ASSERT_TRUE(rel_.Abrir());
    // Taken from the default destination at Abrir.
    EXPECT_EQ(rel_.PortaComunicacao, "socket://127.0.0.1:" + std::to_string(printer_.port()));
    EXPECT_EQ(rel_.Impressora, TModelo::Epson);
    rel_.Imp(1, 2, "Ação");
    rel_.ImpF(2, 1, "N", 1);
    ASSERT_TRUE(rel_.Fechar());
    ASSERT_TRUE(messages_.shown.empty()) << messages_.shown.front();
    const auto job = printer_.NextJob();
    ASSERT_TRUE(job) << cups_->ErrorLog();
    const std::string reset = Esc("P") + "\x12" + Esc("W0") + Esc("5") + Esc("H") + Esc("-0");
    const std::string style = "\x12" + Esc("P");
    // Line breaks through the spooler are line feed, carriage return.
    EXPECT_EQ(*job, Esc("2") + Esc("C") + "\x42" + reset + style + " A\x87\xC6o" + "\n\r" + Esc("G") + "N" + reset +
                        style + "\x0C" + Esc("@"));
}

TEST_F(CupsRoute, ChosenPrinterAndCopies) {
    RecordingPrinter other;
    cups_->AddRawQueue("Balcao_Bematech", other.port(), false);
    const auto names = printers_.PrinterNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "Balcao_Bematech"), names.end());
    printers_.SetCurrentPrinter("Balcao_Bematech");
    ASSERT_TRUE(rel_.Abrir());
    EXPECT_EQ(rel_.Impressora, TModelo::Bobina);
    rel_.Imp(1, 1, "1");
    rel_.NovaPagina();
    rel_.Imp(1, 1, "2");
    rel_.MutableState().copies = 2;
    rel_.MutableState().collate = false;
    ASSERT_TRUE(rel_.Fechar());
    const auto job = other.NextJob();
    ASSERT_TRUE(job) << cups_->ErrorLog();
    EXPECT_EQ(*job, "1122");
}

TEST_F(CupsRoute, PrinterThatCannotBeOpened) {
    printers_.SetCurrentPrinter("NoSuchQueue");
    rel_.PortaComunicacao = "x";
    rel_.Impressora = TModelo::Epson;
    ASSERT_TRUE(rel_.Abrir());
    rel_.Imp(1, 1, "A");
    ASSERT_TRUE(rel_.Fechar());
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0], "Error " + std::to_string(static_cast<int>(IPP_STATUS_ERROR_NOT_FOUND)));
}

TEST_F(CupsRoute, PrinterDataSavedToAFileHasTheJobBytes) {
    TempDir dir;
    ASSERT_TRUE(rel_.Abrir());
    rel_.Imp(1, 1, "A");
    rel_.Imp(2, 1, "B");
    const std::string file = dir.File("relatorio.prn");
    rel_.ImprimirRelatorio(file);
    rel_.Abortar();
    const std::string reset = Esc("P") + "\x12" + Esc("W0") + Esc("5") + Esc("H") + Esc("-0");
    EXPECT_EQ(ReadAll(file), Esc("2") + Esc("C") + "\x42" + reset + "\x12" + Esc("P") + "A\n\rB\x0C" + Esc("@"));
}

// Printers in CUPS, none marked as the default: the first one prints, as
// the setup dialog shows it selected.
TEST(CupsWithoutDefault, TheFirstPrinterIsTheCurrentOne) {
    const auto cupsd = FindCupsd();
    if (!cupsd) GTEST_SKIP() << "cupsd not found (install the cups package): CUPS route not tested";
    RecordingPrinter first;
    RecordingPrinter second;
    PrivateCups cups(*cupsd);
    cups.AddRawQueue("Epson_FX-890", first.port(), false);
    cups.AddRawQueue("Epson_LX-300", second.port(), false);
    CupsPrinterSystem printers;
    ASSERT_EQ(printers.PrinterNames().size(), 2u);
    EXPECT_EQ(printers.CurrentPrinter(), printers.PrinterNames().front());
    EXPECT_EQ(printers.CurrentPrinter(), "Epson_FX-890");

    CupsSpoolerRoute spooler;
    RecordingMessages messages;
    TRelGrade rel;
    rel.services.messages = &messages;
    rel.services.printers = &printers;
    rel.services.spooler = &spooler;
    rel.MostrarProgresso = false;
    ASSERT_TRUE(rel.Abrir());
    EXPECT_EQ(rel.PortaComunicacao, "socket://127.0.0.1:" + std::to_string(first.port()));
    rel.Imp(1, 1, "A");
    ASSERT_TRUE(rel.Fechar());
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.front();
    const auto job = first.NextJob();
    ASSERT_TRUE(job) << cups.ErrorLog();
    EXPECT_NE(job->find('A'), std::string::npos);
}
