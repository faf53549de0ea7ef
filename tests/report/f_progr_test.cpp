#include "report/engine/rel_grade.h"

#include "report/print/direct_port_route.h"
#include "report/windows/f_progr.h"
#include "report_windows_fixtures.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace nfp {
namespace {

using testing::RecordingMessages;

TEST(ProgressWindow, FrameOrderAndStrips) {
  std::vector<int> seen;
  int counter = 0;
  for (int i = 0; i < 8; ++i) seen.push_back(counter = NextProgressFrame(counter));
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 0, 1, 2}));
  EXPECT_EQ(StripForCaption("Lendo..."), ProgressStrip::Lendo);
  EXPECT_EQ(StripForCaption("Imprimindo..."), ProgressStrip::Imprimindo);
  EXPECT_EQ(StripForCaption("Gravando..."), ProgressStrip::Gravando);
  EXPECT_EQ(StripForCaption("Outra coisa"), ProgressStrip::None);
  for (const ProgressStrip s :
       {ProgressStrip::Lendo, ProgressStrip::Imprimindo, ProgressStrip::Gravando})
    EXPECT_EQ(TFRMProgr::StripPicture(s).size(), QSize(6 * 35, 34));
}

TEST(ProgressWindow, WindowAnimatesAndDrawsTheCaptionsStrip) {
  TRelGrade engine;
  TFRMProgr window(engine);
  EXPECT_EQ(window.size(), QSize(280, 97));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Imprimindo..."));
  EXPECT_EQ(window.NOMEREL->geometry().topLeft(), QPoint(17, 11));
  EXPECT_EQ(window.ProgressBar1->geometry(), QRect(16, 28, 249, 19));
  EXPECT_EQ(window.SpeedButton1->geometry(), QRect(107, 63, 80, 25));
  EXPECT_EQ(window.SpeedButton1->text(), QStringLiteral("&Cancelar"));

  window.SetColors(0x336699, clWhite);
  window.SetLabel("Resumo dos Envios");
  window.SetCaption("Gravando...");
  window.SetMaximum(3);
  window.SetPosition(0);
  window.Show();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), &window);
  EXPECT_EQ(window.Strip(), ProgressStrip::Gravando);
  EXPECT_EQ(window.NOMEREL->text(), QStringLiteral("Resumo dos Envios"));
  const int before = window.Counter();
  window.desenha();
  EXPECT_EQ(window.Counter(), NextProgressFrame(before));

  // Some of the frame is the strip's drawing, the rest the window's colour.
  const QImage frame = window.Frame().toImage();
  EXPECT_EQ(frame.size(), QSize(35, 34));
  int coloured = 0;
  int drawn = 0;
  for (int y = 0; y < 34; ++y)
    for (int x = 0; x < 35; ++x) {
      const QColor c(frame.pixel(x, y));
      if (c == QColor(0x33, 0x66, 0x99)) ++coloured; else ++drawn;
      EXPECT_NE(c, QColor(255, 0, 255));
    }
  EXPECT_GT(coloured, 0);
  EXPECT_GT(drawn, 0);

  window.SetCaption("Outra coisa");
  window.desenha();
  const QImage empty = window.Frame().toImage();
  for (int y = 0; y < 34; ++y)
    for (int x = 0; x < 35; ++x) ASSERT_EQ(QColor(empty.pixel(x, y)), QColor(0x33, 0x66, 0x99));

  window.Step();
  window.Step();
  EXPECT_EQ(window.ProgressBar1->value(), 2);
  window.close();  // only the engine closes it
  EXPECT_TRUE(window.isVisible());
  window.Close();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(ProgressWindow, CancelAsksAndSetsTheFlagOnlyOnYes) {
  TRelGrade engine;
  RecordingMessages messages;
  engine.services.messages = &messages;
  TFRMProgr window(engine);
  messages.answer = false;
  window.SpeedButton1->click();
  EXPECT_FALSE(engine.CancelRequested());
  messages.answer = true;
  window.SpeedButton1->click();
  EXPECT_TRUE(engine.CancelRequested());
  EXPECT_EQ(messages.asked,
            (std::vector<std::string>{"Deseja realmente Cancelar ?", "Deseja realmente Cancelar ?"}));
  engine.ClearCancel();
}

// A real job on the direct route into a file, cancelled from the window.
TEST(ProgressWindow, ConfirmedCancelStopsTheJobAfterTheCurrentPage) {
  QTemporaryDir dir;
  const std::string out = (dir.path() + QStringLiteral("/job.prn")).toStdString();
  TRelGrade engine;
  RecordingMessages messages;
  QtProgressWindowFactory factory;
  DirectPortRoute route;
  engine.services.messages = &messages;
  engine.services.progress = &factory;
  engine.services.directPort = &route;
  engine.UsaGerenciadorImpr = false;
  engine.PortaComunicacao = out;
  std::vector<QString> captions;
  int calls = 0;
  engine.services.processEvents = [&] {
    QApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* progress = qobject_cast<TFRMProgr*>(w); progress && progress->isVisible()) {
        captions.push_back(progress->windowTitle());
        // Once the first page is through, the user cancels.
        if (progress->ProgressBar1->value() >= 1 && calls++ == 0) progress->SpeedButton1->click();
      }
  };
  ASSERT_TRUE(engine.Abrir());
  for (int page = 1; page <= 3; ++page) {
    if (page > 1) engine.NovaPagina();
    engine.Imp(1, 1, "PAGINA-" + std::to_string(page));
  }
  engine.ImprimirRelatorio();
  engine.Abortar();

  QFile file(QString::fromStdString(out));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.contains("PAGINA-1"));
  EXPECT_FALSE(bytes.contains("PAGINA-2"));
  EXPECT_FALSE(bytes.contains("PAGINA-3"));
  ASSERT_FALSE(captions.empty());
  EXPECT_EQ(captions.front(), QStringLiteral("Imprimindo..."));
  EXPECT_EQ(messages.asked.size(), 1u);
  // The window is gone with the job.
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* progress = qobject_cast<TFRMProgr*>(w)) {
      EXPECT_FALSE(progress->isVisible());
    }
  }
}

}  // namespace
}  // namespace nfp
