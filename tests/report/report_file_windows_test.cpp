// Saving and loading with the engine's real progress window on the
// offscreen platform; the user's answer to "Deseja realmente Cancelar ?" is
// the only part given by the test.
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include "report/windows/f_progr.h"
#include "report/files/report_file_saver.h"
#include "saved_report_test_support.h"

using namespace nfp;
using namespace nfp::test;

namespace {

TFRMProgr* ProgressOnScreen() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<TFRMProgr*>(w); p && p->isVisible()) return p;
    return nullptr;
}

// The engine with the real progress window; `cancelAt` is the pass of the
// message loop at which the user presses Cancel (0: never).
struct WindowEngine {
    TRelGrade rel;
    RecordingMessages messages;
    QtProgressWindowFactory progress;
    int passes = 0;
    int cancelAt = 0;
    std::vector<std::string> captions, labels;
    std::vector<int> maximums;
    WindowEngine() {
        rel.services.messages = &messages;
        rel.services.progress = &progress;
        rel.services.processEvents = [this] {
            QApplication::processEvents();
            if (TFRMProgr* p = ProgressOnScreen(); p && captions.empty()) {
                captions.push_back(p->windowTitle().toStdString());
                labels.push_back(p->NOMEREL->text().toStdString());
                maximums.push_back(p->ProgressBar1->maximum());
            }
            if (++passes == cancelAt)
                if (TFRMProgr* p = ProgressOnScreen()) p->SpeedButton1->click();
        };
    }
    void Write(int items) {
        ASSERT_TRUE(rel.Abrir());
        for (int i = 1; i <= items; ++i) rel.Imp(i, 1, "linha " + std::to_string(i), i % 2 ? clRed : clBlue);
    }
};

} // namespace

TEST(ReportFilesWindow, SaveAndLoadShowTheProgressWindow) {
    TempDir dir;
    WindowEngine e;
    e.Write(5);
    const std::string file = dir.File("envio.RGR");
    ASSERT_TRUE(SaveAsReportFile(e.rel, file));
    ASSERT_FALSE(e.captions.empty());
    EXPECT_EQ(e.captions.front(), "Gravando...");
    EXPECT_EQ(e.labels.front(), file);
    EXPECT_EQ(e.maximums.front(), 5);
    EXPECT_EQ(ProgressOnScreen(), nullptr);

    e.captions.clear();
    ASSERT_TRUE(LoadReportFile(e.rel, file));
    ASSERT_FALSE(e.captions.empty());
    EXPECT_EQ(e.captions.front(), "Lendo...");
    EXPECT_EQ(e.rel.Store()->Size(), 5u);
    EXPECT_EQ(ProgressOnScreen(), nullptr);
    EXPECT_TRUE(e.messages.shown.empty());
    e.rel.Abortar();
}

TEST(ReportFilesWindow, CancelInTheProgressWindowKeepsTheSavedFile) {
    for (const bool confirmed : {true, false}) {
        TempDir dir;
        WindowEngine e;
        e.messages.answer = confirmed;
        int cancels = 0;
        e.rel.OnCancel = [&](TRelGrade&) { ++cancels; };
        e.Write(6);
        const std::string file = dir.File("envio.RGR");
        WriteFile(file, "salvo antes");
        e.cancelAt = 3;
        EXPECT_EQ(SaveAsReportFile(e.rel, file), !confirmed);
        EXPECT_EQ(e.messages.asked, std::vector<std::string>{"Deseja realmente Cancelar ?"});
        EXPECT_EQ(cancels, confirmed ? 1 : 0);
        EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"envio.RGR"});
        if (confirmed) EXPECT_EQ(ReadAll(file), "salvo antes");
        else EXPECT_NE(ReadAll(file), "salvo antes");
        EXPECT_EQ(ProgressOnScreen(), nullptr);
        e.rel.Abortar();
    }
}
