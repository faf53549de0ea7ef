#include "widgets/zeltra_hint.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace nfp {
namespace {

QFont Tahoma8() {
  QFont f(QStringLiteral("Tahoma"));
  f.setPointSize(8);
  return f;
}

TEST(ZeltraHint, InstallsAndCarriesItsDefaults) {
  EXPECT_EQ(TZeltraHint::Installed(), nullptr);
  {
    TZeltraHint hint;
    EXPECT_EQ(TZeltraHint::Installed(), &hint);
    EXPECT_EQ(hint.MaxHintWidth, 200);
    EXPECT_EQ(hint.ColorBorder, QColor(Qt::black));
    EXPECT_EQ(hint.ColorArrow, QColor(Qt::black));
    EXPECT_EQ(hint.ColorArrowBackground, QColor(255, 210, 83));
    EXPECT_EQ(hint.ColorBackground, QToolTip::palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(TZeltraHint::kHintPause, 500);
    EXPECT_EQ(TZeltraHint::kHintShortPause, 25);
    EXPECT_EQ(TZeltraHint::kHintHidePause, 5000);
  }
  EXPECT_EQ(TZeltraHint::Installed(), nullptr);
}

TEST(ZeltraHintWindow, SizedFromTheTextAndPlacedFromThePointer) {
  TZeltraHint hint;
  hint.SetFont(Tahoma8());
  TZeltraHintWindow* window = hint.Window();
  const QString text = QStringLiteral("Localizar pasta");
  window->ActivateHint({0, 0, 0, 0}, text, {100, 100});
  const HintPoint t = TZeltraHintWindow::MeasureText(Tahoma8(), text, {0, 0, 0, 0}, 178);
  const QFontMetrics fm(Tahoma8());
  EXPECT_EQ(t.x, fm.horizontalAdvance(text));
  EXPECT_EQ(window->Corner(), ArrowCorner::TopLeft);
  EXPECT_EQ(window->geometry(), QRect(112, 112, t.x + 22, t.y + 6));
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_TRUE(window->testAttribute(Qt::WA_TransparentForMouseEvents));
  EXPECT_EQ(window->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(window->ArrowPoint(), (HintPoint{3, 3}));
  EXPECT_EQ(window->Text(), text);

  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  window->ActivateHint({0, 0, 0, 0}, text, {screen.width() / 2, 10});
  EXPECT_EQ(window->Corner(), ArrowCorner::TopRight);
  EXPECT_EQ(window->geometry().topLeft(), QPoint(screen.width() / 2 - (t.x + 22) - 5, 15));
  window->hide();
}

TEST(ZeltraHintWindow, LongTextWrapsAtTheLimitAndAmpersandShows) {
  TZeltraHint hint;
  QString longText;
  for (int i = 0; i < 20; ++i) longText += QStringLiteral("texto ");
  const HintPoint wrapped = TZeltraHintWindow::MeasureText(hint.Font(), longText, {}, 178);
  const QFontMetrics fm(hint.Font());
  EXPECT_LE(wrapped.x, 178);
  EXPECT_GT(wrapped.y, fm.height());

  const HintPoint amp = TZeltraHintWindow::MeasureText(hint.Font(), QStringLiteral("A&B"), {}, 178);
  EXPECT_EQ(amp.x, fm.horizontalAdvance(QStringLiteral("A&B")));

  hint.MaxHintWidth = 100;
  hint.Window()->ActivateHint({}, longText, {10, 10});
  EXPECT_LE(hint.Window()->width(), 100);
  hint.Window()->hide();
}

TEST(ZeltraHintWindow, PaintsFrameStripArrowAndBackground) {
  TZeltraHint hint;
  hint.ColorBackground = QColor(250, 250, 200);
  TZeltraHintWindow* window = hint.Window();
  window->ActivateHint({}, QStringLiteral("Dica com algumas palavras"), {100, 100});
  const QImage image = window->grab().toImage();
  ASSERT_FALSE(image.isNull());
  const int w = image.width();
  const int h = image.height();
  EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(Qt::black));
  EXPECT_EQ(QColor(image.pixel(w - 1, h - 1)), QColor(Qt::black));
  EXPECT_EQ(QColor(image.pixel(3, 3)), QColor(Qt::black));            // arrow anchor
  EXPECT_EQ(QColor(image.pixel(13, h - 2)), QColor(255, 210, 83));    // strip
  EXPECT_EQ(QColor(image.pixel(16, h - 2)), QColor(250, 250, 200));   // text area
  window->hide();
}

TEST(ZeltraHint, ShowHintForUsesTheControlsHintAndOnShowHint) {
  TZeltraHint hint;
  QPushButton button(QStringLiteral("..."));
  button.setToolTip(QStringLiteral("Localizar Pastas"));
  button.show();
  hint.ShowHintFor(&button, QPoint(50, 50));
  EXPECT_TRUE(hint.Window()->isVisible());
  EXPECT_EQ(hint.Window()->Text(), QStringLiteral("Localizar Pastas"));
  hint.HideHint();
  EXPECT_FALSE(hint.Window()->isVisible());

  hint.OnShowHint = [](QString& text, bool&, HintInfo& info) {
    text += QStringLiteral("!");
    EXPECT_NE(info.control, nullptr);
  };
  hint.ShowHintFor(&button, QPoint(50, 50));
  EXPECT_EQ(hint.Window()->Text(), QStringLiteral("Localizar Pastas!"));
  hint.HideHint();

  hint.OnShowHint = [](QString&, bool& canShow, HintInfo&) { canShow = false; };
  hint.ShowHintFor(&button, QPoint(50, 50));
  EXPECT_FALSE(hint.Window()->isVisible());
}

TEST(ZeltraHint, ToolkitTooltipIsReplaced) {
  TZeltraHint hint;
  QPushButton button(QStringLiteral("..."));
  button.setToolTip(QStringLiteral("dica"));
  button.show();
  QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), button.mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(&button, &event);
  EXPECT_FALSE(QToolTip::isVisible());
}

}  // namespace
}  // namespace nfp

namespace nfp {
namespace {

void Enter(QWidget* w) {
  QEnterEvent event(QPointF(2, 2), QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)));
  QApplication::sendEvent(w, &event);
}

TEST(ZeltraHint, HoverTimingsAndHiding) {
  TZeltraHint hint;
  QWidget window;
  auto* first = new QPushButton(QStringLiteral("a"), &window);
  auto* second = new QPushButton(QStringLiteral("b"), &window);
  auto* plain = new QPushButton(QStringLiteral("c"), &window);
  first->setToolTip(QStringLiteral("primeira"));
  second->setToolTip(QStringLiteral("segunda"));
  window.show();

  Enter(plain);
  EXPECT_EQ(hint.PendingControl(), nullptr);

  Enter(first);
  EXPECT_EQ(hint.PendingControl(), first);
  EXPECT_EQ(hint.PendingPause(), 500);
  hint.FirePending();
  EXPECT_TRUE(hint.Window()->isVisible());
  EXPECT_EQ(hint.Window()->Text(), QStringLiteral("primeira"));

  // With a hint up, the next control's comes after the short pause.
  Enter(second);
  EXPECT_FALSE(hint.Window()->isVisible());
  EXPECT_EQ(hint.PendingControl(), second);
  EXPECT_EQ(hint.PendingPause(), 25);
  hint.FirePending();
  EXPECT_EQ(hint.Window()->Text(), QStringLiteral("segunda"));

  // A click hides it.
  QTest::mouseClick(second, Qt::LeftButton);
  EXPECT_FALSE(hint.Window()->isVisible());
  EXPECT_EQ(hint.PendingControl(), nullptr);

  // From nothing showing, the long pause again.
  Enter(first);
  EXPECT_EQ(hint.PendingPause(), 500);
  QTest::keyClick(first, Qt::Key_A);
  EXPECT_EQ(hint.PendingControl(), nullptr);
}

}  // namespace
}  // namespace nfp
