// What the engine does with the setup dialog's answer.
#include <gtest/gtest.h>

#include <map>

#include "report_test_support.h"

using namespace nfp;
using namespace nfp::test;

namespace {

// The printers the test says the machine has.
class GivenPrinters : public PrinterSystem {
public:
    std::map<std::string, std::string> ports{{"EPSON LX-300", "parallel:/dev/lp0"}, {"Sala HP LaserJet", "LPT2:"}};
    std::optional<std::string> current = "EPSON LX-300";
    std::vector<std::string> PrinterNames() override {
        std::vector<std::string> names;
        for (const auto& [name, port] : ports) names.push_back(name);
        return names;
    }
    std::optional<std::string> CurrentPrinter() override { return current; }
    void SetCurrentPrinter(const std::string& name) override { current = name; }
    std::string PortOf(const std::string& name) override { return ports[name]; }
};

// The user's answer to the dialog; the printer choice runs DetectaModelo as
// the dialog does.
class AnsweredSetup : public SetupDialog {
public:
    std::optional<SetupChoices> answer;
    std::string choosePrinter;
    SetupRequest seen;
    std::optional<SetupChoices> Exec(TRelGrade& engine, const SetupRequest& request) override {
        seen = request;
        if (!choosePrinter.empty()) engine.DetectaModelo(choosePrinter);
        return answer;
    }
};

struct Engine {
    TRelGrade rel;
    RecordingMessages messages;
    GivenPrinters printers;
    AnsweredSetup dialog;
    Engine() {
        rel.services.messages = &messages;
        rel.services.printers = &printers;
        rel.services.setupDialog = &dialog;
    }
    ~Engine() {
        if (rel.IsOpen()) rel.Abortar();
    }
};

} // namespace

TEST(SetupApply, AbrirTakesTheCurrentPrinter) {
    Engine e;
    e.rel.Impressora = TModelo::Grafico;
    ASSERT_TRUE(e.rel.Abrir());
    EXPECT_EQ(e.rel.PortaComunicacao, "/dev/lp0");
    EXPECT_EQ(e.rel.Impressora, TModelo::Epson);
}

TEST(SetupApply, OkAppliesEverything) {
    Engine e;
    ASSERT_TRUE(e.rel.Abrir());
    e.rel.NovaPagina();
    e.rel.NovaPagina(); // the page in hand is 3
    SetupChoices c;
    c.printer = "Sala HP LaserJet";
    c.model = TModelo::HP;
    c.range = SetupPageRange::Atual;
    c.oddEven = 2;
    c.collate = false;
    c.reverse = true;
    c.preview = true;
    c.copies = 7;
    e.dialog.answer = c;
    EXPECT_TRUE(e.rel.Setup());
    const auto& st = e.rel.State();
    EXPECT_EQ(e.printers.current, "Sala HP LaserJet");
    EXPECT_EQ(e.rel.PortaComunicacao, "LPT2");
    EXPECT_EQ(e.rel.Impressora, TModelo::HP);
    EXPECT_EQ(st.pageSelection, "3");
    EXPECT_EQ(st.oddEven, 2);
    EXPECT_FALSE(st.collate);
    EXPECT_TRUE(st.reverse);
    EXPECT_TRUE(e.rel.OpcoesPreview.Preview);
    EXPECT_EQ(st.copies, 7);
    EXPECT_EQ(st.table[Slot::PageLength], "\x1B&l66P"); // prepared for the chosen model
    // What the dialog was given.
    EXPECT_EQ(e.dialog.seen.printers.size(), 2u);
    EXPECT_EQ(e.dialog.seen.currentPrinter, "EPSON LX-300");
    EXPECT_EQ(e.dialog.seen.caption, "RelGrade Setup");
    EXPECT_EQ(e.dialog.seen.copies, 1);
    EXPECT_TRUE(e.dialog.seen.collate);
    EXPECT_FALSE(e.dialog.seen.previewActive);
}

TEST(SetupApply, SelectionTextAndAllPages) {
    Engine e;
    ASSERT_TRUE(e.rel.Abrir());
    SetupChoices c;
    c.printer = "EPSON LX-300";
    c.range = SetupPageRange::Selecao;
    c.pages = "1,3,5-12";
    e.dialog.answer = c;
    ASSERT_TRUE(e.rel.Setup());
    EXPECT_EQ(e.rel.State().pageSelection, "1,3,5-12");
    c.range = SetupPageRange::Todas;
    e.dialog.answer = c;
    ASSERT_TRUE(e.rel.Setup());
    EXPECT_EQ(e.rel.State().pageSelection, "");
}

TEST(SetupApply, CancelOutsideThePreviewGivesTheReportUp) {
    Engine e;
    int cancels = 0;
    e.rel.OnCancel = [&](TRelGrade&) { ++cancels; };
    ASSERT_TRUE(e.rel.Abrir());
    e.dialog.choosePrinter = "SALA HP LASERJET";
    EXPECT_FALSE(e.rel.Setup());
    EXPECT_FALSE(e.rel.IsOpen());
    EXPECT_TRUE(e.rel.IsAbandoned());
    EXPECT_EQ(cancels, 1);
    EXPECT_TRUE(e.rel.Fechar()); // abandoned: nothing to do
    EXPECT_TRUE(e.messages.shown.empty());
}

TEST(SetupApply, CancelInsideThePreviewOnlyClosesTheDialog) {
    Engine e;
    ASSERT_TRUE(e.rel.Abrir());
    e.rel.MutableState().previewActive = true;
    e.dialog.choosePrinter = "SALA HP LASERJET"; // chosen, then cancelled
    EXPECT_FALSE(e.rel.Setup());
    EXPECT_TRUE(e.rel.IsOpen());
    EXPECT_TRUE(e.dialog.seen.previewActive);
    // The current printer stays; the model is the one detected for the choice.
    EXPECT_EQ(e.printers.current, "EPSON LX-300");
    EXPECT_EQ(e.rel.Impressora, TModelo::Grafico);
    e.rel.MutableState().previewActive = false;
}
