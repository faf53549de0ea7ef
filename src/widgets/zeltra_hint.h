#pragma once
// Application-wide hint (tooltip) window: a framed box with an arrow strip,
// placed diagonally from the pointer towards the screen's centre.

#include "widgets/hint_geometry.h"

#include <QBasicTimer>
#include <QColor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace nfp {

// Hint information handed to OnShowHint; all fields may be changed.
struct HintInfo {
  QWidget* control = nullptr;
  HintPoint cursorPos;   // pointer in the control's coordinates
  int hidePause = 5000;
};

class TZeltraHintWindow;

// Carries the colours, font and width of every hint, and installs the hint
// machinery for the whole application when created. Create one per program,
// after the QApplication.
class TZeltraHint : public QObject {
  Q_OBJECT
 public:
  explicit TZeltraHint(QObject* owner = nullptr);
  ~TZeltraHint() override;

  QColor ColorBackground;
  QColor ColorBorder = Qt::black;
  QColor ColorArrowBackground = QColor(255, 210, 83);
  QColor ColorArrow = Qt::black;
  int MaxHintWidth = 200;

  const QFont& Font() const { return font_; }
  void SetFont(const QFont& font) { font_ = font; }
  QColor FontColor;   // the hint text's colour

  // Called before each hint shows: (text, may-show, info), all changeable.
  std::function<void(QString&, bool&, HintInfo&)> OnShowHint;

  // Hint timings, milliseconds.
  static constexpr int kHintPause = 500;
  static constexpr int kHintShortPause = 25;
  static constexpr int kHintHidePause = 5000;

  // The one installed instance, or nullptr.
  static TZeltraHint* Installed();
  // The window hints are shown in (created on first use).
  TZeltraHintWindow* Window();

  // Shows the hint of `control` as if the pointer rested at `globalPos`.
  void ShowHintFor(QWidget* control, QPoint globalPos);
  void HideHint();

  // The control whose hint is due and in how many milliseconds; nullptr
  // when none is due.
  QWidget* PendingControl() const { return pending_; }
  int PendingPause() const { return pendingPause_; }
  // Runs the due hint now, as its pause running out would.
  void FirePending();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  void Arm(QWidget* control, int pause);

  QFont font_;
  QPointer<QWidget> pending_;
  QPointer<QWidget> shownFor_;
  QBasicTimer showTimer_;
  QBasicTimer hideTimer_;
  std::unique_ptr<TZeltraHintWindow> window_;
  int hidePause_ = kHintHidePause;
  int pendingPause_ = 0;
  TZeltraHint* previous_ = nullptr;
};

// The hint window: never takes the focus, lets clicks through.
class TZeltraHintWindow : public QWidget {
  Q_OBJECT
 public:
  explicit TZeltraHintWindow(QWidget* parent = nullptr);

  // Sizes the window for the text, places it from the pointer (screen
  // coordinates) and the primary screen size, and shows it.
  void ActivateHint(HintRect rect, const QString& text, HintPoint pointer);
  // The same, reading the pointer and the primary screen itself.
  void ActivateHint(HintRect rect, const QString& text);

  // Size of `text` wrapped within `limit` pixels in the hint font.
  static HintPoint MeasureText(const QFont& font, const QString& text, HintRect start, int limit);

  ArrowCorner Corner() const { return corner_; }
  HintPoint ArrowPoint() const { return arrowPoint_; }
  const QString& Text() const { return text_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void TakeSettings();

  QString text_;
  ArrowCorner corner_ = ArrowCorner::TopLeft;
  HintPoint arrowPoint_;
  QFont drawFont_;
  QColor fontColor_;
  QColor background_;
  QColor border_ = Qt::black;
  QColor arrowBackground_ = QColor(255, 210, 83);
  QColor arrow_ = Qt::black;
  int maxWidth_ = 200;
};

}  // namespace nfp
