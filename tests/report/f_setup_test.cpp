#include "report/engine/rel_grade.h"

#include "report/windows/f_setup.h"
#include "report_windows_fixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace nfp {
namespace {

using testing::ListedPrinters;
using testing::RecordingMessages;

class SetupDialogTest : public ::testing::Test {
 protected:
  SetupDialogTest()
      : printers_({{"Epson LX-300", "/dev/usb/lp0"},
                   {"HP LaserJet 1020", "usb://HP/LaserJet%201020"},
                   {"Bematech MP-20", "parallel:/dev/lp1"}},
                  "Epson LX-300") {
    engine_.services.printers = &printers_;
    engine_.services.messages = &messages_;
    engine_.services.setupDialog = &setup_;
    engine_.CaptionSetup = "Setup da Impressora...";
    EXPECT_TRUE(engine_.Abrir());
  }
  ~SetupDialogTest() override {
    if (engine_.IsOpen()) engine_.Abortar();
  }

  // Runs Setup, doing `action` in the dialog once it is up.
  bool RunSetup(std::function<void(TFRMsetup&)> action) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<TFRMsetup*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      ran = true;
      action(*dialog);
    });
    const bool result = engine_.Setup();
    EXPECT_TRUE(ran);
    return result;
  }

  ListedPrinters printers_;
  RecordingMessages messages_;
  QtSetupDialog setup_;
  TRelGrade engine_;
};

TEST_F(SetupDialogTest, ShowsTheRequestAndDetectsTheModel) {
  printers_.SetCurrentPrinter("HP LaserJet 1020");
  engine_.Impressora = TModelo::Epson;
  ReportState& st = engine_.MutableState();
  st.pageSelection = "1-2";
  st.copies = 7;
  st.collate = false;
  st.oddEven = 2;
  EXPECT_FALSE(RunSetup([](TFRMsetup& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Setup da Impressora..."));
    EXPECT_EQ(d.size(), QSize(522, 282));
    EXPECT_EQ(d.IMPRESSORAS->count(), 3);
    EXPECT_EQ(d.IMPRESSORAS->currentText(), QStringLiteral("HP LaserJet 1020"));
    EXPECT_EQ(d.MODELOS->currentIndex(), static_cast<int>(TModelo::Grafico));
    EXPECT_EQ(d.MODELOS->count(), 6);
    EXPECT_EQ(d.MODELOS->itemText(4), QStringLiteral("Modelo Personalizado - (Epson)"));
    EXPECT_EQ(d.MODELOS->itemText(5), QStringLiteral("Bobina / Cupom"));
    EXPECT_EQ(d.EdPaginas->text(), QStringLiteral("1-2"));
    EXPECT_FALSE(d.chkTodas->isChecked());
    EXPECT_FALSE(d.chkAtual->isChecked());
    EXPECT_FALSE(d.chkSelecao->isChecked());
    EXPECT_EQ(d.edCOPIAS->text(), QStringLiteral("7"));
    EXPECT_FALSE(d.chkAgrupar->isChecked());
    EXPECT_EQ(d.EdParImpar->currentIndex(), 2);
    EXPECT_TRUE(d.chkPreview->isEnabled());
    EXPECT_EQ(d.OK->geometry().topLeft(), QPoint(339, 249));
    EXPECT_EQ(d.CANCELAR->geometry().topLeft(), QPoint(429, 249));
    EXPECT_EQ(d.IMPRESSORAS->geometry().topLeft(), QPoint(70, 57));
    EXPECT_EQ(d.IMPRESSORAS->width(), 331);
    EXPECT_EQ(d.Label3->text(), QStringLiteral("Configuração da Impressão"));
    d.CANCELAR->click();
  }));
}

TEST_F(SetupDialogTest, OkAppliesEverything) {
  EXPECT_TRUE(RunSetup([](TFRMsetup& d) {
    d.IMPRESSORAS->setCurrentIndex(2);
    EXPECT_EQ(d.MODELOS->currentIndex(), static_cast<int>(TModelo::Bobina));
    d.MODELOS->setCurrentIndex(static_cast<int>(TModelo::Rima));  // by hand
    d.chkSelecao->click();
    EXPECT_TRUE(d.EdPaginas->isEnabled());
    QTest::keyClicks(d.EdPaginas, QStringLiteral("1.3;5-a7"));
    EXPECT_EQ(d.EdPaginas->text(), QStringLiteral("1,3,5-7"));
    d.EdParImpar->setCurrentIndex(1);
    d.edCOPIAS->clear();
    QTest::keyClicks(d.edCOPIAS, QStringLiteral("3x,"));
    EXPECT_EQ(d.edCOPIAS->text(), QStringLiteral("3"));
    d.chkAgrupar->click();
    d.chkInverter->click();
    d.chkPreview->click();
    d.OK->click();
  }));
  const ReportState& st = engine_.State();
  EXPECT_EQ(printers_.Current(), "Bematech MP-20");
  EXPECT_EQ(engine_.PortaComunicacao, "/dev/lp1");
  EXPECT_EQ(engine_.Impressora, TModelo::Rima);
  EXPECT_EQ(st.pageSelection, "1,3,5-7");
  EXPECT_EQ(st.oddEven, 1);
  EXPECT_EQ(st.copies, 3);
  EXPECT_FALSE(st.collate);
  EXPECT_TRUE(st.reverse);
  EXPECT_TRUE(engine_.OpcoesPreview.Preview);
  EXPECT_TRUE(engine_.IsOpen());
}

TEST_F(SetupDialogTest, CancelOutsideThePreviewAbandonsTheReport) {
  EXPECT_FALSE(RunSetup([](TFRMsetup& d) {
    d.IMPRESSORAS->setCurrentIndex(1);
    QTest::keyClick(d.IMPRESSORAS, Qt::Key_Escape);
  }));
  EXPECT_FALSE(engine_.IsOpen());
  // The Windows printer stays, the model is the one detected for the choice.
  EXPECT_EQ(printers_.Current(), "Epson LX-300");
  EXPECT_EQ(engine_.Impressora, TModelo::Grafico);
}

TEST_F(SetupDialogTest, CancelInsideThePreviewOnlyCloses) {
  engine_.MutableState().previewActive = true;
  EXPECT_FALSE(RunSetup([](TFRMsetup& d) {
    EXPECT_FALSE(d.chkPreview->isEnabled());
    d.CANCELAR->click();
  }));
  EXPECT_TRUE(engine_.IsOpen());
}

TEST_F(SetupDialogTest, CurrentPageIsThePageOnScreen) {
  engine_.MutableState().currentPage = 2;
  EXPECT_TRUE(RunSetup([](TFRMsetup& d) {
    d.chkAtual->click();
    EXPECT_FALSE(d.EdPaginas->isEnabled());
    QTest::keyClick(d.OK, Qt::Key_Return);
  }));
  EXPECT_EQ(engine_.State().pageSelection, "2");
}

TEST_F(SetupDialogTest, EmptyCopiesApplyNothingAndStayOpen) {
  engine_.MutableState().copies = 4;
  EXPECT_TRUE(RunSetup([this](TFRMsetup& d) {
    d.IMPRESSORAS->setCurrentIndex(2);
    d.chkInverter->click();
    d.edCOPIAS->clear();
    d.OK->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(d.MayClose());
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(printers_.Current(), "Epson LX-300");
    EXPECT_FALSE(engine_.State().reverse);
    EXPECT_EQ(engine_.State().copies, 4);
    QTest::keyClicks(d.edCOPIAS, QStringLiteral("2"));
    d.OK->click();
  }));
  EXPECT_EQ(engine_.State().copies, 2);
  EXPECT_TRUE(engine_.State().reverse);
  EXPECT_EQ(printers_.Current(), "Bematech MP-20");
}

TEST_F(SetupDialogTest, ClosesOnlyThroughItsButtons) {
  EXPECT_FALSE(RunSetup([](TFRMsetup& d) {
    d.close();
    EXPECT_TRUE(d.isVisible());
    d.CANCELAR->click();
  }));
}

TEST_F(SetupDialogTest, UpDownAndCollationPictures) {
  engine_.MutableState().previewActive = true;
  EXPECT_FALSE(RunSetup([](TFRMsetup& d) {
    d.edCOPIAS->setText(QStringLiteral("49"));
    d.UpDown1Up->click();
    d.UpDown1Up->click();
    EXPECT_EQ(d.edCOPIAS->text(), QStringLiteral("50"));
    d.edCOPIAS->setText(QStringLiteral("1"));
    d.UpDown1Down->click();
    EXPECT_EQ(d.edCOPIAS->text(), QStringLiteral("1"));

    std::vector<qint64> keys;
    for (const bool collate : {true, false})
      for (const bool reverse : {false, true}) {
        d.chkAgrupar->setChecked(collate);
        d.chkInverter->setChecked(reverse);
        d.chkAgruparClick();
        keys.push_back(d.CollationPicture().cacheKey());
        EXPECT_EQ(d.CollationPicture().size(), QSize(93, 38));
      }
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(std::unique(keys.begin(), keys.end()), keys.end());
    d.CANCELAR->click();
  }));
}

TEST_F(SetupDialogTest, PropertiesSelectThePrinterCurrentAfterwards) {
  engine_.MutableState().previewActive = true;
  ScriptedPrinterProperties properties{std::string("Bematech MP-20"), std::nullopt};
  EXPECT_FALSE(RunSetup([](TFRMsetup& d) {
    d.BitBtn1->click();
    EXPECT_EQ(d.IMPRESSORAS->currentText(), QStringLiteral("Bematech MP-20"));
    EXPECT_EQ(d.MODELOS->currentIndex(), static_cast<int>(TModelo::Bobina));
    d.MODELOS->setCurrentIndex(0);
    d.BitBtn1->click();  // cancelled: the choice is applied again
    EXPECT_EQ(d.IMPRESSORAS->currentText(), QStringLiteral("Bematech MP-20"));
    EXPECT_EQ(d.MODELOS->currentIndex(), static_cast<int>(TModelo::Bobina));
    d.CANCELAR->click();
  }));
  EXPECT_EQ(properties.Asked(), (std::vector<std::string>{"Epson LX-300", "Bematech MP-20"}));
}

// Qt's PDF printer chosen in the printer properties: the list shows the file,
// the model becomes the graphic one, and OK makes the graphic route print
// into it; choosing a printer again puts the printer back.
TEST_F(SetupDialogTest, PdfPrinterChosenInThePropertiesIsKept) {
  engine_.MutableState().previewActive = true;
  ScriptedPrinterProperties properties;
  properties.PushPdfFile("/tmp/relatorios/resumo.pdf");
  EXPECT_TRUE(RunSetup([](TFRMsetup& d) {
    d.BitBtn1->click();
    EXPECT_EQ(d.IMPRESSORAS->currentText(), QStringLiteral("Arquivo PDF: /tmp/relatorios/resumo.pdf"));
    EXPECT_EQ(d.MODELOS->currentIndex(), static_cast<int>(TModelo::Grafico));
    d.OK->click();
  }));
  EXPECT_EQ(engine_.ArquivoGrafico, "/tmp/relatorios/resumo.pdf");
  EXPECT_EQ(engine_.Impressora, TModelo::Grafico);
  EXPECT_EQ(printers_.Current(), "Epson LX-300");

  EXPECT_TRUE(RunSetup([](TFRMsetup& d) {
    EXPECT_EQ(d.IMPRESSORAS->currentText(), QStringLiteral("Arquivo PDF: /tmp/relatorios/resumo.pdf"));
    EXPECT_EQ(d.IMPRESSORAS->count(), 4);
    d.IMPRESSORAS->setCurrentIndex(1);
    d.OK->click();
  }));
  EXPECT_EQ(engine_.ArquivoGrafico, "");
  EXPECT_EQ(printers_.Current(), "HP LaserJet 1020");
}

// The platform's own printer properties dialog, its PDF printer chosen.
TEST_F(SetupDialogTest, PlatformPropertiesDialogLeavesThePdfFile) {
  engine_.MutableState().previewActive = true;
  bool chosen = false;
  EXPECT_TRUE(RunSetup([&](TFRMsetup& d) {
    QTimer::singleShot(0, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr);
      auto* list = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
      auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
      ASSERT_NE(list, nullptr);
      ASSERT_NE(file, nullptr);
      list->setCurrentIndex(list->count() - 1);  // Qt's PDF printer comes last
      file->setText(QStringLiteral("/tmp/relatorios/saida.pdf"));
      chosen = true;
      QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    d.BitBtn1->click();
    EXPECT_EQ(d.IMPRESSORAS->currentText(), QStringLiteral("Arquivo PDF: /tmp/relatorios/saida.pdf"));
    d.OK->click();
  }));
  EXPECT_TRUE(chosen);
  EXPECT_EQ(engine_.ArquivoGrafico, "/tmp/relatorios/saida.pdf");
}

TEST(SetupDialogNoPrinter, SaysThereIsNone) {
  ListedPrinters none({}, "");
  RecordingMessages messages;
  QtSetupDialog setup;
  TRelGrade engine;
  engine.services.printers = &none;
  engine.services.messages = &messages;
  engine.services.setupDialog = &setup;
  ASSERT_TRUE(engine.Abrir());
  bool ran = false;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<TFRMsetup*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    ran = true;
    EXPECT_EQ(d->IMPRESSORAS->count(), 0);
    EXPECT_EQ(d->IMPRESSORAS->currentIndex(), -1);
    EXPECT_EQ(d->IMPRESSORAS->placeholderText(), QStringLiteral("Nenhuma impressora instalada."));
    d->CANCELAR->click();
  });
  EXPECT_FALSE(engine.Setup());
  EXPECT_TRUE(ran);
}

// Every caption has the room it needs: none runs under the control beside it
// or past the edge of its box.
TEST_F(SetupDialogTest, CaptionsFitBesideTheirNeighbours) {
  engine_.MutableState().previewActive = true;
  EXPECT_FALSE(RunSetup([](TFRMsetup& d) {
    int checked = 0;
    for (QWidget* c : d.findChildren<QWidget*>()) {
      QString text;
      int need = 0;
      if (auto* label = qobject_cast<QLabel*>(c); label && label->pixmap().isNull()) {
        text = label->text();
        need = label->fontMetrics().size(Qt::TextShowMnemonic, text).width();
      } else if (auto* button = qobject_cast<QAbstractButton*>(c);
                 button && (qobject_cast<QCheckBox*>(c) || qobject_cast<QRadioButton*>(c))) {
        text = button->text();
        need = button->sizeHint().width();
      }
      if (text.isEmpty() || !c->isVisibleTo(&d)) continue;
      ++checked;
      SCOPED_TRACE(c->objectName().toStdString());
      const QRect r = c->geometry();
      const int right = r.x() + need;
      EXPECT_LE(right, c->parentWidget()->width());
      for (QWidget* s : c->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect o = s->geometry();
        if (s == c || !s->isVisibleTo(&d) || o.x() <= r.x()) continue;
        if (o.bottom() < r.top() || o.top() > r.bottom()) continue;
        EXPECT_LE(right, o.x()) << "runs under " << s->objectName().toStdString();
      }
    }
    EXPECT_GE(checked, 12);
    d.CANCELAR->click();
  }));
}

}  // namespace
}  // namespace nfp
